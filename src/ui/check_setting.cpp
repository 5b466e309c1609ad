#include "ui/check_setting.h"

#include <QSettings>

namespace koravin {
namespace {

QSettings Settings() { return QSettings(QStringLiteral("Koravin"), QStringLiteral("Koravin")); }

const QString kChecksKey = QStringLiteral("display/checks");

}  // namespace

bool ChecksFollowReports() { return Settings().value(kChecksKey, false).toBool(); }

void SetChecksFollowReports(bool on) { Settings().setValue(kChecksKey, on); }

}  // namespace koravin
