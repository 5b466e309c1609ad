#pragma once

// The built-in examples (assets/examples, compiled in as resources) and the 示例 menus that
// offer them.

#include <functional>
#include <vector>

#include <QString>

#include "command/interaction.h"
#include "examples/examples.h"

class QAction;
class QMenu;

namespace koravin {

// The examples whose command satisfies `belongs`, in the index's order.
std::vector<Example> BuiltInExamples(const std::function<bool(const CommandInfo&)>& belongs);

// One entry per example, captioned with its title, named "Example_<file name>".
void AddExampleEntries(QMenu* menu, const std::vector<Example>& examples,
                       const std::function<void(const Example&)>& chosen);

// "解线性方程组 → 迭代法的收敛性 → 向量范数": the captions of the menus that hold the entry, from the
// menu bar down, without their mnemonics.
QString MenuPath(const QAction* entry);

}  // namespace koravin
