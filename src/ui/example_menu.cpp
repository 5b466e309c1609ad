#include "ui/example_menu.h"

#include <QFile>
#include <QMenu>
#include <QRegularExpression>

#include "registry/registry.h"
#include "ui/pane_text.h"

namespace koravin {

std::vector<Example> BuiltInExamples(const std::function<bool(const CommandInfo&)>& belongs) {
    std::vector<Example> examples = LoadExamples([](const std::string& name) -> std::optional<std::string> {
        QFile file(QStringLiteral(":/examples/") + QString::fromStdString(name));
        if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
        return file.readAll().toStdString();
    });
    std::erase_if(examples, [&belongs](const Example& example) { return !belongs(*FindCommand(example.command)); });
    return examples;
}

void AddExampleEntries(QMenu* menu, const std::vector<Example>& examples,
                       const std::function<void(const Example&)>& chosen) {
    for (const Example& example : examples) {
        QAction* entry = menu->addAction(FromReportText(ExampleTitle(example)));
        entry->setObjectName(QStringLiteral("Example_") + QString::fromStdString(example.name));
        QObject::connect(entry, &QAction::triggered, menu, [chosen, example] { chosen(example); });
    }
}

QString MenuPath(const QAction* entry) {
    static const QRegularExpression kMnemonic(QStringLiteral("\\(&.\\)|&"));
    QStringList captions{QString(entry->text()).remove(kMnemonic)};
    // An entry belongs to the menu that made it, a submenu to the menu that holds it.
    for (auto* menu = qobject_cast<const QMenu*>(entry->parent()); menu != nullptr;
         menu = qobject_cast<const QMenu*>(menu->parentWidget())) {
        captions.prepend(QString(menu->title()).remove(kMnemonic));
    }
    return captions.join(QStringLiteral(" → "));
}

}  // namespace koravin
