#include "ui/about_box.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/installation.h"

namespace koravin {
namespace {

QString HelpPage(const char* page) {
    return QUrl::fromLocalFile(HelpDirectory() + QLatin1Char('/') + QLatin1String(page)).toString();
}

// A label that looks and acts like a link: a click hands its address to OpenWebAddress.
class LinkLabel : public QLabel {
public:
    LinkLabel(const char* name, const QString& caption, QString address, QWidget* parent)
        : QLabel(caption, parent), address_(std::move(address)) {
        setObjectName(name);
        setToolTip(QStringLiteral("点击打开"));
        setAccessibleDescription(QStringLiteral("点击打开"));
        setCursor(Qt::PointingHandCursor);
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        QPalette link = palette();
        link.setColor(QPalette::WindowText, palette().color(QPalette::Link));
        setPalette(link);
    }

    const QString& address() const { return address_; }

protected:
    void mouseReleaseEvent(QMouseEvent*) override { OpenWebAddress(address_); }

private:
    QString address_;
};

}  // namespace

void OpenWebAddress(const QString& address) {
    const QString trimmed = address.trimmed();
    QDesktopServices::openUrl(QUrl(trimmed.isEmpty() ? HelpPage("index.html") : trimmed));
}

AboutBox::AboutBox(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("FrmAbout");
    setWindowTitle(QStringLiteral("关于Koravin软件"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* picture = new QLabel(this);
    picture->setObjectName("Picture1");
    picture->setAccessibleName(QStringLiteral("Koravin 图标"));
    picture->setPixmap(QPixmap(QStringLiteral(":/koravin.png")).scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    auto* name = new QLabel(QStringLiteral("<b>Koravin</b><br>数值分析教学软件"), this);
    auto* version = new QLabel(QStringLiteral("版本 " KORAVIN_VERSION), this);
    version->setObjectName("lblVersion");
    auto* links = new QVBoxLayout;
    links->addWidget(name);
    links->addWidget(version);
    links->addWidget(new LinkLabel("lblBlog", QStringLiteral("作者博客"), HelpPage("index.html"), this));
    links->addWidget(new LinkLabel("lblBlog1", QStringLiteral("作者博客1"), HelpPage("linear.html"), this));
    links->addWidget(new LinkLabel("lblBlog2", QStringLiteral("作者博客2"), HelpPage("nonlinear.html"), this));
    links->addWidget(new LinkLabel("lblBlog3", QStringLiteral("作者博客3"), HelpPage("ode.html"), this));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addSpacing(12);
    layout->addLayout(links);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace koravin
