// koravin: the start window, and from it every workspace.

#include <QApplication>

#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/start_window.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    koravin::PrepareApplication(application);
    koravin::QtDialogs dialogs;
    auto* start = new koravin::StartWindow(dialogs, [] { return koravin::MakeSynthService(); });
    start->show();
    return application.exec();
}
