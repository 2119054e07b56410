// make_manual: prints the help pages, in their order, as one PDF: the user manual beside the
// help file, made from the same HTML.
//   make_manual OUT.pdf STYLE.css TITLE PAGE.html...
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <cstdio>
#include <optional>

namespace {

std::optional<QString> readText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return QString::fromUtf8(file.readAll());
}

// The part of a page the manual prints: its body, without the links that only make sense
// between help pages (the navigation bar).
QString bodyOf(const QString& html) {
  static const QRegularExpression body(
      QStringLiteral("<body[^>]*>(.*)</body>"),
      QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression nav(QStringLiteral("<div class=\"nav\">.*?</div>"),
                                      QRegularExpression::DotMatchesEverythingOption);
  QRegularExpressionMatch match = body.match(html);
  QString text = match.hasMatch() ? match.captured(1) : html;
  return text.remove(nav);
}

QString titlePage(const QString& title) {
  return QStringLiteral(
             "<div class=\"cover\"><p class=\"covertitle\">%1</p>"
             "<p class=\"coversub\">Loblolly pine plantation growth and yield</p>"
             "<p class=\"coversub\">Brakkel Forestry</p></div>")
      .arg(title.toHtmlEscaped());
}

std::optional<QString> manualHtml(const QString& title, const QStringList& pages) {
  QString html = QStringLiteral("<html><body>") + titlePage(title);
  for (const QString& page : pages) {
    std::optional<QString> text = readText(page);
    if (!text) {
      std::fprintf(stderr, "make_manual: cannot read %s\n", qPrintable(page));
      return std::nullopt;
    }
    html += QStringLiteral("<div style=\"page-break-before: always\">") + bodyOf(*text) +
            QStringLiteral("</div>");
  }
  return html + QStringLiteral("</body></html>");
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  QStringList args = application.arguments();
  if (args.size() < 5) {
    std::fprintf(stderr, "usage: make_manual OUT.pdf STYLE.css TITLE PAGE.html...\n");
    return 2;
  }
  std::optional<QString> style = readText(args[2]);
  std::optional<QString> html = manualHtml(args[3], args.mid(4));
  if (!style || !html) return 1;

  QPdfWriter writer(args[1]);
  writer.setTitle(args[3]);
  writer.setCreator(QStringLiteral("KELDOVAR"));
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                   QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
  QTextDocument document;
  document.setDefaultStyleSheet(*style);
  document.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 10));
  document.setHtml(*html);
  document.print(&writer);
  return 0;
}
