#include "platform/help.h"

#include <algorithm>
#include <array>
#include <string_view>

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QVariant>
#include <QWidget>

#include "util/misc.h"

namespace orvela {

namespace {

constexpr int HelpGap = 8;
// The narrowest help window that still reads well beside the window that asked.
constexpr int MinHelpWidth = 380;
constexpr const char* TopicProperty = "orvelaHelpTopic";

struct TTopic {
  std::string_view Keyword;
  std::string_view Page;
};

// Where each keyword lives; the keyword is also the anchor in its page.
constexpr std::array<TTopic, 11> Topics{{
    {HelpContents, "index.html"},
    {HelpGettingStarted, "getting-started.html"},
    {HelpMainWindow, "main-window.html"},
    {HelpAddTooth, "add-tooth.html"},
    {HelpViewOptions, "options.html"},
    {HelpCalcOptions, "options.html"},
    {HelpGeneralOptions, "options.html"},
    {HelpWireWindow, "wire-info.html"},
    {HelpToothWindow, "tooth-info.html"},
    {HelpToothPage, "tooth-info.html"},
    {HelpPerioPage, "tooth-info.html"},
}};

// The help window: back, forward and home, a search over all pages whose hits open the page,
// and the page itself.
class THelpWindow : public QWidget {
 public:
  explicit THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Orvela Help"));
    resize(600, 640);
    FBrowser = new QTextBrowser(this);
    FBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    FBrowser->setOpenExternalLinks(true);
    FBrowser->setSearchPaths({HelpFolder()});

    const auto button = [this](const char* name, const QString& text, QStyle::StandardPixmap icon,
                               const QString& tip) {
      auto* b = new QToolButton(this);
      b->setObjectName(QLatin1String(name));
      b->setText(text);
      b->setIcon(style()->standardIcon(icon));
      b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
      b->setToolTip(tip);
      b->setAutoRaise(true);
      return b;
    };
    QToolButton* back = button("HelpBack", QStringLiteral("Back"), QStyle::SP_ArrowBack,
                               QStringLiteral("Back (Alt+Left)"));
    QToolButton* forward = button("HelpForward", QStringLiteral("Forward"), QStyle::SP_ArrowForward,
                                  QStringLiteral("Forward (Alt+Right)"));
    QToolButton* home = button("HelpHome", QStringLiteral("&Home"), QStyle::SP_DirHomeIcon,
                               QStringLiteral("The contents"));
    back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QToolButton::clicked, FBrowser, &QTextBrowser::backward);
    connect(forward, &QToolButton::clicked, FBrowser, &QTextBrowser::forward);
    connect(home, &QToolButton::clicked, this, [this] { Open(QLatin1String(HelpContents)); });
    connect(FBrowser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(FBrowser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);

    FSearch = new QLineEdit(this);
    FSearch->setObjectName(QStringLiteral("HelpSearch"));
    FSearch->setPlaceholderText(QStringLiteral("Search the help"));
    FSearch->setClearButtonEnabled(true);
    FResults = new QListWidget(this);
    FResults->setObjectName(QStringLiteral("HelpResults"));
    FResults->hide();
    connect(FSearch, &QLineEdit::textChanged, this, &THelpWindow::Search);
    // Enter in the box opens the first page found.
    connect(FSearch, &QLineEdit::returnPressed, this, [this] {
      if (FResults->count() > 0) OpenResult(FResults->item(0));
    });
    connect(FResults, &QListWidget::itemActivated, this, &THelpWindow::OpenResult);
    connect(FResults, &QListWidget::itemClicked, this, &THelpWindow::OpenResult);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 4, 4, 0);
    top->addWidget(back);
    top->addWidget(forward);
    top->addWidget(home);
    top->addSpacing(12);
    top->addWidget(FSearch, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(FResults);
    layout->addWidget(FBrowser, 1);

    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
      auto* shortcut = new QShortcut(key, this);
      shortcut->setContext(Qt::WindowShortcut);
      connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
  }

  void Open(const QString& keyword) {
    const QString page = HelpTopicPage(keyword);
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    QUrl url = QUrl::fromLocalFile(HelpFolder() + page.left(hash));
    url.setFragment(page.mid(hash + 1));
    if (!QFile::exists(url.toLocalFile())) {
      FBrowser->setHtml(
          QStringLiteral("<h1>Orvela Help</h1><p>The help pages were not found in %1.</p>")
              .arg(QDir::toNativeSeparators(HelpFolder()).toHtmlEscaped()));
      return;
    }
    FBrowser->setSource(url);
    FBrowser->scrollToAnchor(url.fragment());
  }

 private:
  void Search(const QString& query) {
    if (FPages.empty()) FPages = ReadHelpPages(HelpFolder());
    FResults->clear();
    if (query.trimmed().isEmpty()) {
      FResults->hide();
      return;
    }
    for (const THelpPageText* page : FindHelpPages(FPages, query)) {
      auto* item = new QListWidgetItem(page->Title, FResults);
      item->setData(Qt::UserRole, page->File);
    }
    if (FResults->count() == 0) {
      auto* none =
          new QListWidgetItem(QStringLiteral("No page holds all of these words."), FResults);
      none->setFlags(Qt::NoItemFlags);
    }
    // As tall as its lines, up to a few, so that the page keeps the room.
    const int rows = std::min(FResults->count(), 6);
    FResults->setFixedHeight(FResults->sizeHintForRow(0) * rows + 2 * FResults->frameWidth() + 2);
    FResults->show();
  }

  void OpenResult(QListWidgetItem* item) {
    const QString file = item != nullptr ? item->data(Qt::UserRole).toString() : QString();
    if (file.isEmpty()) return;
    FBrowser->setSource(QUrl::fromLocalFile(HelpFolder() + file));
    // The words found are marked where they first occur on the page.
    const QStringList words = FSearch->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!words.isEmpty()) FBrowser->find(words.front());
  }

  QTextBrowser* FBrowser = nullptr;
  QLineEdit* FSearch = nullptr;
  QListWidget* FResults = nullptr;
  // Read at the first search.
  std::vector<THelpPageText> FPages;
};

// The top-level window a help window belongs to: the program's main window rather than a
// dialog or a menu that asked.
QWidget* OutermostWindow(QWidget* asking) {
  QWidget* w = asking ? asking->window() : nullptr;
  while (w != nullptr && w->parentWidget() != nullptr) w = w->parentWidget()->window();
  return w;
}

THelpWindow& EnsureHelpWindow(QWidget* asking) {
  QWidget* outermost = OutermostWindow(asking);
  THelpWindow* window = nullptr;
  if (outermost != nullptr) {
    auto* found = outermost->findChild<QWidget*>(QStringLiteral("HelpWindow"));
    window = dynamic_cast<THelpWindow*>(found);
  }
  if (window == nullptr) window = new THelpWindow(outermost);
  // Parented to the window that asks, so that it stays usable beside a modal dialog.
  QWidget* const owner = asking ? asking->window() : nullptr;
  if (owner != nullptr && window->parentWidget() != owner && owner != window) {
    const QRect geometry = window->geometry();
    const bool shown = window->isVisible();
    window->setParent(owner, Qt::Window);
    window->setGeometry(geometry);
    if (shown) window->show();
  }
  return *window;
}

// Moves the help window beside the window that asked when it opens or lies over it.
void PlaceBeside(QWidget& help, QWidget* asking) {
  QWidget* const owner = asking ? asking->window() : nullptr;
  if (owner == nullptr || !owner->isVisible()) return;
  const QRect ownerFrame = owner->frameGeometry();
  if (help.isVisible() && !help.frameGeometry().intersects(ownerFrame)) return;
  const QScreen* screen = owner->screen();
  const QRect available =
      screen ? screen->availableGeometry() : QRect(QPoint(0, 0), QSize(1 << 16, 1 << 16));
  // A window that has never been shown has no frame yet: it is taken as the owner's.
  const QSize frameExtra = help.isVisible() || help.testAttribute(Qt::WA_WState_Created)
                               ? help.frameGeometry().size() - help.size()
                               : ownerFrame.size() - owner->size();
  help.resize(help.size().boundedTo(available.size() - frameExtra));
  // Narrower, down to a readable width, rather than over the window.
  const int room =
      std::max(available.right() - ownerFrame.right(), ownerFrame.left() - available.left()) -
      HelpGap - frameExtra.width();
  if (help.width() > room && room >= MinHelpWidth) help.resize(room, help.height());
  help.move(HelpWindowPosition(ownerFrame, help.size() + frameExtra, available));
}

}  // namespace

QString HelpFolder() {
  return QString::fromStdString(ShellFolderPath(CommonAppDataFolderId, false)) +
         QStringLiteral("/help/");
}

QString HelpTopicPage(const QString& keyword) {
  for (const TTopic& topic : Topics) {
    if (keyword ==
        QLatin1String(topic.Keyword.data(), static_cast<qsizetype>(topic.Keyword.size()))) {
      return QString::fromLatin1(topic.Page.data(), static_cast<qsizetype>(topic.Page.size())) +
             QLatin1Char('#') + keyword;
    }
  }
  return QStringLiteral("index.html#") + QLatin1String(HelpContents);
}

void ShowHelpTopic(QWidget* asking, const QString& keyword) {
  THelpWindow& window = EnsureHelpWindow(asking);
  PlaceBeside(window, asking);
  // Shown first, so that the browser has its size when it scrolls to the topic.
  window.show();
  window.raise();
  window.activateWindow();
  window.Open(keyword);
}

void SetHelpTopic(QWidget& widget, const char* keyword) {
  widget.setProperty(TopicProperty, QString::fromLatin1(keyword));
}

QString HelpTopicAt(QWidget& window) {
  const auto topicOf = [](const QWidget* w) { return w->property(TopicProperty).toString(); };
  QWidget* focus = window.focusWidget();
  for (QWidget* w = focus; w != nullptr && w != &window; w = w->parentWidget()) {
    if (const QString topic = topicOf(w); !topic.isEmpty()) return topic;
  }
  // Only the pages of this window: a main window's dialogs are its children too.
  for (const QTabWidget* pages : window.findChildren<QTabWidget*>()) {
    if (pages->window() != &window || pages->currentWidget() == nullptr) continue;
    if (const QString topic = topicOf(pages->currentWidget()); !topic.isEmpty()) return topic;
    break;
  }
  if (const QString topic = topicOf(&window); !topic.isEmpty()) return topic;
  return QLatin1String(HelpContents);
}

void AddHelpKey(QWidget& window) {
  auto* key = new QShortcut(QKeySequence(QKeySequence::HelpContents), &window);
  key->setObjectName(QStringLiteral("HelpKey"));
  key->setContext(Qt::WindowShortcut);
  QObject::connect(key, &QShortcut::activated, &window,
                   [&window] { ShowHelpTopic(&window, HelpTopicAt(window)); });
}

std::vector<THelpPageText> ReadHelpPages(const QString& folder) {
  std::vector<THelpPageText> pages;
  const QDir dir(folder);
  for (const QString& name : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) continue;
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(file.readAll()));
    QString title = doc.metaInformation(QTextDocument::DocumentTitle);
    if (title.isEmpty()) title = name;
    pages.push_back({name, title, doc.toPlainText()});
  }
  return pages;
}

std::vector<const THelpPageText*> FindHelpPages(const std::vector<THelpPageText>& pages,
                                                const QString& query) {
  const QStringList words = query.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  std::vector<const THelpPageText*> found;
  if (words.isEmpty()) return found;
  for (const THelpPageText& page : pages) {
    const bool all = std::all_of(words.begin(), words.end(), [&page](const QString& word) {
      return page.Text.contains(word, Qt::CaseInsensitive) ||
             page.Title.contains(word, Qt::CaseInsensitive);
    });
    if (all) found.push_back(&page);
  }
  return found;
}

QPoint HelpWindowPosition(const QRect& askingFrame, const QSize& helpFrame, const QRect& screen) {
  const int y = std::clamp(askingFrame.top(), screen.top(),
                           std::max(screen.top(), screen.bottom() + 1 - helpFrame.height()));
  if (askingFrame.right() + HelpGap + helpFrame.width() <= screen.right() + 1) {
    return {askingFrame.right() + 1 + HelpGap, y};
  }
  if (askingFrame.left() - HelpGap - helpFrame.width() >= screen.left()) {
    return {askingFrame.left() - HelpGap - helpFrame.width(), y};
  }
  // Room on neither side: against the screen's edge on the roomier side, covering as little
  // of the window as it can.
  const int roomRight = screen.right() - askingFrame.right();
  const int roomLeft = askingFrame.left() - screen.left();
  if (roomLeft > roomRight) return {screen.left(), y};
  return {std::max(screen.left(), screen.right() + 1 - helpFrame.width()), y};
}

}  // namespace orvela
