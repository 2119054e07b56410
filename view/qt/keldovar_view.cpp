// The report as text: every shown table in the copy text's form, in a fixed-pitch font.
#include "view/qt/keldovar_view.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

#include "view/copy_text.h"
#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

constexpr int kSmallestPointSize = 6;
constexpr int kLargestPointSize = 48;

constexpr const char* kBanner =
    "KELDOVAR\n\n"
    "Growth and yield of loblolly pine plantations.\n\n"
    "Describe a stand from the Stand menu: an existing unthinned or thinned plantation, or a "
    "new plantation.";

#ifdef Q_OS_WIN
constexpr std::string_view kClipboardLineEnd = kWindowsLineEnd;
#else
constexpr std::string_view kClipboardLineEnd = kUnixLineEnd;
#endif

}  // namespace

CKELDOVARView::CKELDOVARView(const DocumentController& document, QWidget* parent)
    : QPlainTextEdit(parent), document_(document) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setObjectName("reportView");
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  setFont(font);
  setPlainText(kBanner);
}

QString CKELDOVARView::reportText() const {
  const TableStore& store = document_.store();
  if (store.lastIndex < 0) return kBanner;
  return fromLatin1(selectAllText(store, document_.options().showFinancial, kUnixLineEnd));
}

void CKELDOVARView::refresh(bool scrollToNewest) {
  int horizontal = horizontalScrollBar()->value();
  setPlainText(reportText());
  if (selectAll_ && document_.store().lastIndex >= 0) QPlainTextEdit::selectAll();
  horizontalScrollBar()->setValue(horizontal);
  if (scrollToNewest) scrollToNewestTable();
  emit selectionChanged();
}

void CKELDOVARView::resetShown() {
  selectAll_ = false;
  setPlainText(reportText());
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  emit selectionChanged();
}

void CKELDOVARView::scrollToNewestTable() {
  const TableStore& store = document_.store();
  if (store.lastIndex <= 0) return;
  bool financial = document_.options().showFinancial;
  std::string newest = selectAllText(store, store.lastIndex, financial, kUnixLineEnd);
  QString all = toPlainText();
  // The newest table is the end of the text; count the lines before it.
  qsizetype start = all.size() - static_cast<qsizetype>(newest.size());
  int line = start > 0 ? document()->findBlock(static_cast<int>(start)).blockNumber() : 0;
  verticalScrollBar()->setValue(line);
}

void CKELDOVARView::selectAll() {
  if (document_.store().lastIndex < 0) return;
  selectAll_ = true;
  QPlainTextEdit::selectAll();
  emit selectionChanged();
}

bool CKELDOVARView::canCopy() const {
  return document_.store().lastIndex >= 0 && selectAll_;
}

void CKELDOVARView::copy() {
  if (!canCopy()) return;
  std::string text =
      selectAllText(document_.store(), document_.options().showFinancial, kClipboardLineEnd);
  QGuiApplication::clipboard()->setText(fromLatin1(text));
}

void CKELDOVARView::changeFontSize(int steps) {
  QFont shown = font();
  int size = std::clamp(shown.pointSize() + steps, kSmallestPointSize, kLargestPointSize);
  shown.setPointSize(size);
  setFont(shown);
}

void CKELDOVARView::print(QPrinter& printer) {
  QPlainTextEdit::print(&printer);
}

void CKELDOVARView::mousePressEvent(QMouseEvent* event) {
  selectAll_ = false;
  QPlainTextEdit::mousePressEvent(event);
  emit selectionChanged();
}

}  // namespace keldovar
