// The report widget: layout on font, store and option changes; painting; keys, mouse, Copy.
#include "view/qt/keldovar_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "view/qt/qt_text_metrics.h"
#include "view/qt/report_clipboard.h"
#include "view/qt/report_painter.h"
#include "view/qt/report_print.h"
#include "view/qt/view_font.h"

namespace keldovar {
namespace {

constexpr double kUnitsPerInch = 100.0;
constexpr int kScrollStep = 5;  // page units per arrow key
constexpr int kPageOverlap = 20;

int toPage(int pixels, int dpi) {
  return static_cast<int>(pixels * kUnitsPerInch / std::max(dpi, 1));
}

}  // namespace

CKELDOVARView::CKELDOVARView(const DocumentController& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  applyFont(fontDescription_);
}

void CKELDOVARView::setFontFilePath(const QString& path) {
  fontFilePath_ = path;
  if (auto stored = loadFontFile(path)) applyFont(*stored);
}

void CKELDOVARView::applyFont(const FontDescription& description) {
  fontDescription_ = description;
  font_ = keldovar::reportFont(description);
  relayout();
}

LayoutParams CKELDOVARView::layoutParams() const {
  LayoutParams params;
  params.showFinancial = document_.options().showFinancial;
  params.showBargraph = document_.options().showBargraph;
  params.carbon = carbonOptionsOf(document_.content());
  params.units = document_.options().units;
  params.currency = currency_;
  params.decimalSeparator = decimalSeparator_;
  return params;
}

void CKELDOVARView::setMoneyStyle(const std::string& currency, char decimalSeparator) {
  currency_ = currency;
  decimalSeparator_ = decimalSeparator;
  relayout();
}

void CKELDOVARView::relayout() {
  QtTextMetrics metrics(font_);
  LayoutParams params = layoutParams();
  const QScreen* display = screen();
  params.displayWidth = display != nullptr ? display->geometry().width() : 0;
  params.logicalDpi = viewport()->logicalDpiX();
  layout_ = ReportLayout(document_.store(), metrics, params);
  updateScrollBars();
  viewport()->update();
}

QSize CKELDOVARView::clientPageSize() const {
  return {toPage(viewport()->width(), viewport()->logicalDpiX()),
          toPage(viewport()->height(), viewport()->logicalDpiY())};
}

QPoint CKELDOVARView::scrollPosition() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CKELDOVARView::updateScrollBars() {
  QSize client = clientPageSize();
  horizontalScrollBar()->setRange(0, std::max(layout_.docWidth() - client.width(), 0));
  horizontalScrollBar()->setPageStep(std::max(client.width(), 1));
  horizontalScrollBar()->setSingleStep(layout_.charWidth());
  verticalScrollBar()->setRange(0, std::max(layout_.docHeight() - client.height(), 0));
  verticalScrollBar()->setPageStep(std::max(client.height(), 1));
  verticalScrollBar()->setSingleStep(layout_.lineHeight());
}

void CKELDOVARView::refresh(bool scrollToNewestTable) {
  selection_.clear();
  relayout();
  if (scrollToNewestTable) scrollToNewest();
  Q_EMIT selectionChanged();
}

void CKELDOVARView::resetShown() {
  selection_.reset();
  relayout();
  scrollToOrigin();
  Q_EMIT selectionChanged();
}

void CKELDOVARView::scrollToOrigin() {
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
}

// The newest table's stand summary at the top of the window, the horizontal position kept.
void CKELDOVARView::scrollToNewest() {
  const TableStore& store = document_.store();
  if (store.lastIndex <= 0) return;
  if (const TableLayout* newest = layout_.table(store.lastIndex)) {
    verticalScrollBar()->setValue(newest->positions.titleY);
  }
}

void CKELDOVARView::selectAll() {
  selectionMoved(selection_.selectAllTables(document_.store()));
}

bool CKELDOVARView::canCopy() const {
  return selection_.copyEnabled(document_.store());
}

void CKELDOVARView::copy() {
  if (!canCopy()) return;
  LayoutParams params = layoutParams();
  ReportOptions options{0,
                        params.showFinancial,
                        false,
                        params.carbon,
                        params.units,
                        params.currency,
                        params.decimalSeparator};
  auto mime = selectionMimeData(document_.store(), selection_, options);
  if (!putOnClipboard(*QApplication::clipboard(), std::move(mime))) {
    QMessageBox::warning(this, QApplication::applicationDisplayName(),
                         QString::fromLatin1(kClipboardSetFailed));
  }
}

void CKELDOVARView::changeFontSize(int steps) {
  FontDescription description = fontDescription_;
  bool changed = false;
  for (int i = 0; i < std::abs(steps); ++i) {
    changed |= steps > 0 ? increaseFontSize(description) : decreaseFontSize(description);
  }
  if (!changed) return;
  applyFont(description);
  if (!fontFilePath_.isEmpty()) saveFontFile(fontFilePath_, description);
}

int CKELDOVARView::fitWidthSteps() const {
  if (document_.store().lastIndex < 0) return 0;
  const int window = clientPageSize().width();
  return fittingSteps(fontDescription_, [this, window](const FontDescription& font) {
    LayoutParams params = layoutParams();
    params.showBargraph = false;  // a graph follows the window; the lines do not
    return ReportLayout(document_.store(), QtTextMetrics(keldovar::reportFont(font)), params)
               .docWidth() <= window;
  });
}

int CKELDOVARView::normalSizeSteps() const {
  return FontDescription{}.height - fontDescription_.height;
}

void CKELDOVARView::print(QPrinter& printer) {
  print(printer, PrintChoices{});
}

void CKELDOVARView::print(QPrinter& printer, const PrintChoices& given) {
  PrintChoices choices = withMoneyStyle(given);
  printReport(printer, document_.store(), document_.options(), font_, printer.docName(),
              carbonOptionsOf(document_.content()), choices);
  // The screen's layout was never replaced; the selection shows again at the next paint.
  viewport()->update();
}

bool CKELDOVARView::canPrint() const {
  return document_.store().lastIndex >= 0;
}

PrintChoices CKELDOVARView::withMoneyStyle(PrintChoices choices) const {
  choices.currency = currency_;
  choices.decimalSeparator = decimalSeparator_;
  return choices;
}

int CKELDOVARView::printPageCount(const QPrinter& printer, const PrintChoices& given) const {
  PrintChoices choices = withMoneyStyle(given);
  if (!canPrint()) return 0;
  return PrintPlan(printer, document_.store(), document_.options(), font_,
                   carbonOptionsOf(document_.content()), choices)
      .pages.pageCount();
}

void CKELDOVARView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), Qt::white);
  painter.setTransform(pageTransform(*viewport(), scrollPosition()));
  DrawOptions options;
  options.font = font_;
  options.visible = painter.transform().inverted().mapRect(QRectF(event->rect()));
  options.windowWidth = clientPageSize().width();
  drawReport(painter, layout_, document_.store(), selection_, options);
}

void CKELDOVARView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void CKELDOVARView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    wheelAngle_ = 0;
    return QAbstractScrollArea::wheelEvent(event);
  }
  constexpr int kStep = 120;  // one notch of a common wheel
  wheelAngle_ += event->angleDelta().y();
  int steps = wheelAngle_ / kStep;
  wheelAngle_ -= steps * kStep;
  if (steps != 0) Q_EMIT fontStepsRequested(steps);
  event->accept();
}

void CKELDOVARView::scrollContentsBy(int, int) {
  viewport()->update();
}

void CKELDOVARView::scrollBy(int dx, int dy) {
  horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
  verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
  viewport()->update();
}

void CKELDOVARView::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  const int key = event->key();
  const int page = std::max(viewport()->height() - kPageOverlap, 0);
  if (modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier) {
    bool plain = modifiers == Qt::NoModifier;
    switch (key) {
      case Qt::Key_Left:
        return scrollBy(-kScrollStep, 0);
      case Qt::Key_Right:
        return scrollBy(kScrollStep, 0);
      case Qt::Key_Up:
        if (plain) return scrollBy(0, -kScrollStep);
        break;
      case Qt::Key_Down:
        if (plain) return scrollBy(0, kScrollStep);
        break;
      case Qt::Key_PageUp:
        if (plain) return scrollBy(0, -page);
        break;
      case Qt::Key_PageDown:
        if (plain) return scrollBy(0, page);
        break;
      default:
        break;
    }
  }
  if (!moveSelection(key, modifiers)) event->ignore();
}

// Shift and an arrow grow the rectangle; Ctrl+Shift and an arrow move the single cell.
bool CKELDOVARView::moveSelection(int key, Qt::KeyboardModifiers modifiers) {
  const TableStore& store = document_.store();
  const bool extend = modifiers == Qt::ShiftModifier;
  if (!extend && modifiers != (Qt::ShiftModifier | Qt::ControlModifier)) return false;
  bool changed = false;
  switch (key) {
    case Qt::Key_Up:
      changed = extend ? selection_.extendUp(store) : selection_.moveUp(store);
      break;
    case Qt::Key_Down:
      changed = extend ? selection_.extendDown(store) : selection_.moveDown(store);
      break;
    case Qt::Key_Left:
      changed = extend ? selection_.extendLeft(store) : selection_.moveLeft(store);
      break;
    case Qt::Key_Right:
      changed = extend ? selection_.extendRight(store) : selection_.moveRight(store);
      break;
    default:
      return false;
  }
  selectionMoved(changed);
  return true;
}

void CKELDOVARView::selectionMoved(bool changed) {
  viewport()->update();
  if (changed) Q_EMIT selectionChanged();
}

QPoint CKELDOVARView::pagePoint(QPoint pixel) const {
  QPoint scroll = scrollPosition();
  return {toPage(pixel.x(), viewport()->logicalDpiX()) + scroll.x(),
          toPage(pixel.y(), viewport()->logicalDpiY()) + scroll.y()};
}

std::optional<CellAddress> CKELDOVARView::hitAt(QPoint pixel) const {
  if (!viewport()->rect().contains(pixel)) return std::nullopt;
  QPoint page = pagePoint(pixel);
  return hitTest(layout_, page.x(), page.y());
}

int CKELDOVARView::chosenTable() const {
  if (selection_.hasAnchor() && !selection_.selectAll()) return selection_.selTable();
  return layout_.tableAt(scrollPosition().y());
}

void CKELDOVARView::contextMenuEvent(QContextMenuEvent* event) {
  // Forwarded from the viewport, as the mouse events are: the position is the viewport's.
  int table = layout_.tableAt(pagePoint(event->pos()).y());
  if (table < 0) return QAbstractScrollArea::contextMenuEvent(event);
  Q_EMIT tableMenuRequested(table, event->globalPos());
}

void CKELDOVARView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  // Qt keeps sending the moves to this window while the button is held: that is the capture.
  selection_.mouseDown(hitAt(event->position().toPoint()));
  selectionMoved(true);
}

void CKELDOVARView::mouseMoveEvent(QMouseEvent* event) {
  if (!selection_.dragging()) return;
  selectionMoved(selection_.mouseMove(hitAt(event->position().toPoint())));
}

void CKELDOVARView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) selection_.mouseUp();
}

}  // namespace keldovar
