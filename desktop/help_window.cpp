// The help window over the pages in the program's resources (:/help/).
#include "desktop/help_window.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace keldovar {
namespace {

constexpr const char* kHelpRoot = "qrc:/help/";
constexpr const char* kHomePage = "index.html";
constexpr int kMaxResults = 100;

std::vector<HelpWindow::Page> readContents() {
  std::vector<HelpWindow::Page> pages;
  QFile file(":/help/contents.txt");
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return pages;
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
    qsizetype bar = line.indexOf('|');
    if (bar > 0) pages.push_back({line.left(bar), line.mid(bar + 1)});
  }
  return pages;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent), pages_(readContents()) {
  setObjectName("helpWindow");
  setWindowTitle("KELDOVAR Help");
  setAttribute(Qt::WA_DeleteOnClose, false);
  browser_ = new QTextBrowser;
  browser_->setObjectName("helpPage");
  browser_->setSearchPaths({":/help"});
  browser_->setOpenExternalLinks(true);
  auto* splitter = new QSplitter;
  splitter->addWidget(buildSide());
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  setCentralWidget(splitter);

  QToolBar* bar = addToolBar("Navigation");
  bar->setObjectName("helpNavigation");
  bar->setMovable(false);
  QAction* back = bar->addAction("Back", browser_, &QTextBrowser::backward);
  QAction* forward = bar->addAction("Forward", browser_, &QTextBrowser::forward);
  bar->addAction("Contents", this, [this] { showPage(kHomePage); });
  back->setObjectName("helpBack");
  forward->setObjectName("helpForward");
  back->setShortcut(QKeySequence::Back);
  forward->setShortcut(QKeySequence::Forward);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::followSource);
  resize(980, 680);
  showPage(kHomePage);
  // Typing at once searches.
  query_->setFocus();
}

QWidget* HelpWindow::buildSide() {
  auto* side = new QWidget;
  auto* layout = new QVBoxLayout(side);
  layout->setContentsMargins(0, 0, 0, 0);
  contents_ = new QTreeWidget;
  contents_->setObjectName("helpContents");
  contents_->setHeaderLabel("Contents");
  contents_->setRootIsDecorated(false);
  for (const Page& page : pages_) {
    auto* item = new QTreeWidgetItem(contents_, {page.title});
    item->setData(0, Qt::UserRole, page.file);
  }
  // A click, the arrow keys or typing a title's first letters open the page.
  connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item != nullptr) showPage(item->data(0, Qt::UserRole).toString());
  });
  query_ = new QLineEdit;
  query_->setObjectName("helpSearch");
  query_->setPlaceholderText("Search the help");
  query_->setClearButtonEnabled(true);
  results_ = new QListWidget;
  results_->setObjectName("helpResults");
  connect(query_, &QLineEdit::textChanged, this, &HelpWindow::showResults);
  connect(results_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { openResult(results_->row(item)); });
  connect(results_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { openResult(results_->row(item)); });
  layout->addWidget(contents_, 3);
  auto* label = new QLabel("&Search:");
  label->setBuddy(query_);
  layout->addWidget(label);
  layout->addWidget(query_);
  layout->addWidget(results_, 2);
  side->setMinimumWidth(260);
  return side;
}

void HelpWindow::showPage(const QString& file) {
  if (file != currentPage()) browser_->setSource(QUrl(kHelpRoot + file));
}

QString HelpWindow::currentPage() const {
  return browser_->source().fileName();
}

// The contents follow the page shown, however it was reached.
void HelpWindow::followSource(const QUrl& url) {
  QString file = url.fileName();
  for (int i = 0; i < contents_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = contents_->topLevelItem(i);
    if (item->data(0, Qt::UserRole).toString() == file) {
      contents_->setCurrentItem(item);
      return;
    }
  }
}

const QString& HelpWindow::plainText(std::size_t page) {
  if (texts_.size() != pages_.size()) {
    texts_.assign(pages_.size(), QString());
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      QFile file(":/help/" + pages_[i].file);
      if (!file.open(QIODevice::ReadOnly)) continue;
      QTextDocument document;
      document.setHtml(QString::fromUtf8(file.readAll()));
      texts_[i] = document.toPlainText();
    }
  }
  return texts_[page];
}

QStringList HelpWindow::search(const QString& query) {
  QStringList words = query.simplified().split(' ', Qt::SkipEmptyParts);
  std::vector<std::pair<qsizetype, std::size_t>> hits;  // (count, page)
  for (std::size_t i = 0; i < pages_.size() && !words.isEmpty(); ++i) {
    qsizetype count = 0;
    for (const QString& word : words) {
      qsizetype n = plainText(i).count(word, Qt::CaseInsensitive);
      count = n == 0 ? -1 : count + n;
      if (count < 0) break;
    }
    if (count > 0) hits.emplace_back(count, i);
  }
  std::stable_sort(hits.begin(), hits.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  QStringList titles;
  resultFiles_.clear();
  for (const auto& [count, page] : hits) {
    if (titles.size() == kMaxResults) break;
    titles << pages_[page].title;
    resultFiles_ << pages_[page].file;
  }
  return titles;
}

void HelpWindow::showResults(const QString& query) {
  results_->clear();
  results_->addItems(search(query));
}

void HelpWindow::openResult(int row) {
  if (row < 0 || row >= resultFiles_.size()) return;
  showPage(resultFiles_[row]);
  // The first place the first word occurs, selected.
  QString first = query_->text().simplified().section(' ', 0, 0);
  browser_->moveCursor(QTextCursor::Start);
  if (!first.isEmpty()) browser_->find(first);
}

}  // namespace keldovar
