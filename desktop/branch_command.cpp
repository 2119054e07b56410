// Branching a document window at one of its tables.
#include "desktop/branch_command.h"

#include <QMenu>
#include <QMessageBox>
#include <utility>

#include "desktop/main_frame.h"
#include "document/branch.h"
#include "view/qt/qt_text.h"

namespace keldovar {

std::string documentName(CChildFrame& frame) {
  QString name = frame.document().title();
  if (name.endsWith(".kdv", Qt::CaseInsensitive)) name.chop(4);
  return toLatin1(name);
}

CChildFrame* newDocumentFromHere(CMainFrame& main, CChildFrame& source, int table) {
  const DocumentContent& content = source.controller().content();
  if (table < 0 || table > content.store.lastIndex) return nullptr;
  BranchResult branch = branchDocument(content, table);
  if (!branch.content) {
    QMessageBox::warning(&main, "KELDOVAR", fromLatin1(branch.error));
    return nullptr;
  }
  int age = tableAge(content.store.tables[static_cast<std::size_t>(table)]);
  CChildFrame* frame = main.newDocument();
  frame->document().setUntitledName(fromLatin1(branchTitle(documentName(source), age)));
  frame->controller().adoptContent(std::move(*branch.content));
  frame->view().resetShown();
  frame->updateTitle();
  return frame;
}

void attachReportMenu(CMainFrame& main, CChildFrame& frame) {
  QObject::connect(&frame.view(), &CKELDOVARView::tableMenuRequested, &frame,
                   [&main, &frame](int table, QPoint globalPos) {
                     QMenu menu(&frame);
                     menu.setObjectName("reportMenu");
                     QAction* here = menu.addAction(main.action(command_ids::kNewFromHere)->text());
                     menu.addSeparator();
                     menu.addAction(main.action(command_ids::kCopy));
                     menu.addAction(main.action(command_ids::kSelectAll));
                     if (menu.exec(globalPos) == here) newDocumentFromHere(main, frame, table);
                   });
}

}  // namespace keldovar
