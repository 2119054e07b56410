// The report widget with 100 tables: laying them out, repainting the visible window, copying
// Select All, and printing them into a PDF. Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <memory>
#include <stdexcept>

#include "bench/bench_main.h"
#include "bench/bench_time.h"
#include "document/document_controller.h"
#include "tests/document/scripted_prompts.h"
#include "view/qt/keldovar_view.h"
#include "view/qt/qt_text_metrics.h"
#include "view/qt/report_print.h"
#include "view/qt/view_font.h"

namespace keldovar::bench {
namespace {

// A regime of seven tables (the last with history and the financial analysis), repeated to
// fill the store, shown with bar graphs.
class FullDocument {
 public:
  FullDocument() : controller_(session_, prompts_, settings_, DocumentSettings{}, options()) {
    prompts_.plantation = PlantationEntry{65, 600, 85, VegetationControl::HerbAndWoody};
    prompts_.rowLow = RowLowEntry{75, 33};
    prompts_.residualBA = 90;
    bool ok = controller_.initialize(kNewPlantation);
    for (int age : {16, 26, 32}) {
      prompts_.growAge = age;
      ok = ok && controller_.grow();
      if (age == 16) ok = ok && controller_.treat(kRowAndLowThin);
      if (age == 26) ok = ok && controller_.treat(kThinomatic);
    }
    ok = ok && controller_.treat(kHarvest);
    if (!ok) throw std::runtime_error("the regime did not run");
    DocumentContent content = controller_.content();
    int regime = content.store.count();
    for (int i = regime; i < kTableCapacity; ++i) {
      content.store.tables[static_cast<std::size_t>(i)] =
          content.store.tables[static_cast<std::size_t>(i % regime)];
    }
    content.store.lastIndex = kTableCapacity - 1;
    controller_.replaceContent(std::move(content));
  }
  const DocumentController& controller() const { return controller_; }

 private:
  static ViewOptions options() {
    ViewOptions o;
    o.showBargraph = true;
    return o;
  }
  FixedClock clock_{benchTime()};
  Session session_{&clock_};
  MemorySettingsStore settings_;
  testing::ScriptedPrompts prompts_;
  DocumentController controller_;
};

void BM_ViewLayout100Tables(benchmark::State& state) {
  FullDocument doc;
  QFont font = reportFont(FontDescription{});
  LayoutParams params;
  params.showBargraph = true;
  for (auto _ : state) {
    ReportLayout layout(doc.controller().store(), QtTextMetrics(font), params);
    benchmark::DoNotOptimize(layout.docHeight());
  }
}
BENCHMARK(BM_ViewLayout100Tables)->Unit(benchmark::kMillisecond);

// The whole window of 1280 x 1024 pixels painted, halfway down the report: stock tables and a
// graph in view. With Select All every text is inverted.
void BM_ViewRepaintWindow100Tables(benchmark::State& state) {
  FullDocument doc;
  CKELDOVARView view(doc.controller());
  view.resize(1280, 1024);
  view.show();
  QApplication::processEvents();
  view.resetShown();
  if (state.range(0) != 0) view.selectAll();
  view.verticalScrollBar()->setValue(view.reportLayout().docHeight() / 2);
  QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    view.viewport()->render(&image);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ViewRepaintWindow100Tables)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ViewCopySelectAll100Tables(benchmark::State& state) {
  FullDocument doc;
  CKELDOVARView view(doc.controller());
  view.selectAll();
  for (auto _ : state) view.copy();
}
BENCHMARK(BM_ViewCopySelectAll100Tables)->Unit(benchmark::kMillisecond);

void BM_PdfExport100Tables(benchmark::State& state) {
  FullDocument doc;
  QByteArray pdf;
  for (auto _ : state) {
    writeReportPdf(doc.controller().store(), doc.controller().options(), "Full", pdf);
    benchmark::DoNotOptimize(pdf.size());
  }
  state.counters["bytes"] = static_cast<double>(pdf.size());
}
BENCHMARK(BM_PdfExport100Tables)->Unit(benchmark::kMillisecond);

// The preview's pages made as the preview window makes them when it opens.
void BM_PrintPreview100Tables(benchmark::State& state) {
  FullDocument doc;
  CKELDOVARView view(doc.controller());
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Full"));
  int pages = 0;
  for (auto _ : state) {
    QPrintPreviewWidget preview(&printer);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, &preview,
                     [&view](QPrinter* target) { view.print(*target); });
    preview.updatePreview();
    pages = preview.pageCount();
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintPreview100Tables)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keldovar::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  return keldovar::bench::runBenchmarks(argc, argv);
}
