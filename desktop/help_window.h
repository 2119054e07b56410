// The program's own help window: the help pages built into the program, their contents on the
// left, the page on the right with its links, Back, Forward and Contents, and a search over the
// pages. Help Topics opens it where no CHM viewer comes with the system.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QTreeWidget;

namespace keldovar {

class HelpWindow final : public QMainWindow {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // The pages in reading order: file name and title.
  struct Page {
    QString file;
    QString title;
  };
  const std::vector<Page>& pages() const { return pages_; }
  // The titles of the pages holding every word of `query` (case ignored), most hits first.
  QStringList search(const QString& query);
  void showPage(const QString& file);
  QString currentPage() const;

 private:
  QWidget* buildSide();
  void followSource(const QUrl& url);
  void showResults(const QString& query);
  void openResult(int row);
  const QString& plainText(std::size_t page);

  std::vector<Page> pages_;
  std::vector<QString> texts_;  // each page's plain text, made at the first search
  QStringList resultFiles_;
  QTreeWidget* contents_ = nullptr;
  QLineEdit* query_ = nullptr;
  QListWidget* results_ = nullptr;
  QTextBrowser* browser_ = nullptr;
};

}  // namespace keldovar
