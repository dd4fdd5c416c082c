#include "platform/help.h"

#include <QApplication>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace orvela {

namespace {

constexpr const char* HelpDocument = "qrc:/orvela/help/orvela.html";

// One help window for the whole run. It is re-parented to the window that asks, so that it
// stays usable above a modal dialog; it closes with the application.
QPointer<QWidget>& HelpWindow() {
  static QPointer<QWidget> window;
  return window;
}

QWidget& EnsureHelpWindow(QWidget* parent) {
  QPointer<QWidget>& window = HelpWindow();
  if (!window) {
    window = new QWidget(nullptr, Qt::Window);
    window->setObjectName(QStringLiteral("HelpWindow"));
    window->setWindowTitle(QStringLiteral("Orvela Help"));
    window->resize(560, 620);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName(QStringLiteral("HelpBrowser"));
    browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
  }
  QWidget* const owner = parent ? parent->window() : nullptr;
  if (window->parentWidget() != owner) {
    const QRect geometry = window->geometry();
    window->setParent(owner, Qt::Window);
    window->setGeometry(geometry);
  }
  return *window;
}

bool IsTopic(const QString& keyword) {
  return keyword == QLatin1String(HelpViewOptions) || keyword == QLatin1String(HelpCalcOptions) ||
         keyword == QLatin1String(HelpWireWindow) || keyword == QLatin1String(HelpToothWindow);
}

}  // namespace

void ShowHelpTopic(QWidget* parent, const QString& keyword) {
  QWidget& window = EnsureHelpWindow(parent);
  auto* browser = window.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
  QUrl url(QString::fromLatin1(HelpDocument));
  url.setFragment(IsTopic(keyword) ? keyword : QStringLiteral("Contents"));
  // Shown first, so that the browser has its size when it scrolls to the topic.
  window.show();
  window.raise();
  window.activateWindow();
  browser->setSource(url);
  browser->scrollToAnchor(url.fragment());
}

}  // namespace orvela
