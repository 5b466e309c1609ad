#pragma once

class QApplication;

namespace koravin {

// What every window relies on: Qt's own dialogs speaking Chinese, and the panes' family "宋体"
// drawn by a font whose Latin characters are one width and whose Chinese characters are two,
// so the blank-padded columns of a report line up.
void PrepareApplication(QApplication& application);

}  // namespace koravin
