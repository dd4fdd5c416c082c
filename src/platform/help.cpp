#include "platform/help.h"

#include <algorithm>

#include <QApplication>
#include <QKeySequence>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace orvela {

namespace {

constexpr const char* HelpDocument = "qrc:/orvela/help/orvela.html";
constexpr int HelpGap = 8;

// One help window for the whole run: a normal top-level window. It is re-parented to the
// window that asks, so that it stays usable above a modal dialog; it closes with the
// application. Closing it only hides it, so it keeps its size for the session.
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
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
      auto* shortcut = new QShortcut(key, window);
      shortcut->setContext(Qt::WindowShortcut);
      QObject::connect(shortcut, &QShortcut::activated, window, &QWidget::close);
    }
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

// The top-level window the help belongs beside: the program's main window rather than a
// dialog that asked.
QWidget* MainWindowOf(QWidget* asking) {
  QWidget* w = asking ? asking->window() : nullptr;
  while (w != nullptr && w->parentWidget() != nullptr) w = w->parentWidget()->window();
  return w;
}

}  // namespace

QPoint HelpWindowPosition(const QRect& mainFrame, const QSize& helpFrame, const QRect& screen) {
  const int y = std::clamp(mainFrame.top(), screen.top(),
                           std::max(screen.top(), screen.bottom() + 1 - helpFrame.height()));
  // Right of the main window, else left of it, else against the screen's edge on the side
  // with more room, covering as little of the main window as it can.
  if (mainFrame.right() + HelpGap + helpFrame.width() <= screen.right() + 1) {
    return {mainFrame.right() + 1 + HelpGap, y};
  }
  if (mainFrame.left() - HelpGap - helpFrame.width() >= screen.left()) {
    return {mainFrame.left() - HelpGap - helpFrame.width(), y};
  }
  const int roomRight = screen.right() - mainFrame.right();
  const int roomLeft = mainFrame.left() - screen.left();
  if (roomLeft > roomRight) return {screen.left(), y};
  return {std::max(screen.left(), screen.right() + 1 - helpFrame.width()), y};
}

void ShowHelpTopic(QWidget* parent, const QString& keyword) {
  QWidget& window = EnsureHelpWindow(parent);
  auto* browser = window.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
  QUrl url(QString::fromLatin1(HelpDocument));
  url.setFragment(IsTopic(keyword) ? keyword : QStringLiteral("Contents"));
  if (!window.isVisible()) {
    if (QWidget* main = MainWindowOf(parent); main != nullptr && main->isVisible()) {
      const QScreen* screen = main->screen();
      const QRect available =
          screen ? screen->availableGeometry() : QRect(QPoint(0, 0), QSize(1 << 16, 1 << 16));
      // The window's frame is not known before it is first shown: the title bar is taken
      // as the main window's.
      const QSize frameExtra = main->frameGeometry().size() - main->size();
      window.move(HelpWindowPosition(main->frameGeometry(), window.size() + frameExtra, available));
    }
  }
  // Shown first, so that the browser has its size when it scrolls to the topic.
  window.show();
  window.raise();
  window.activateWindow();
  browser->setSource(url);
  browser->scrollToAnchor(url.fragment());
}

}  // namespace orvela
