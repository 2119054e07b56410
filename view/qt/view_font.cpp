// Making the report font from its description, and reading and writing the font file.
#include "view/qt/view_font.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

// Sizes are probed at this pixel size, where rounding does not matter.
constexpr int kProbeSize = 1000;

}  // namespace

QFont reportFont(const FontDescription& description) {
  QFont font(fromLatin1(description.faceName));
  font.setStyleHint(QFont::TypeWriter);
  font.setWeight(description.weight <= 0
                     ? QFont::Normal
                     : static_cast<QFont::Weight>(std::clamp(description.weight, 100, 900)));
  font.setItalic(description.italic != 0);
  font.setUnderline(description.underline != 0);
  font.setStrikeOut(description.strikeOut != 0);
  font.setPixelSize(kProbeSize);
  QFontMetricsF probe(font);
  // A positive height is the cell (ascent and descent); a negative one the em itself.
  double height = std::max(std::abs(static_cast<double>(description.height)), 1.0);
  double em = description.height > 0 ? height * kProbeSize / std::max(probe.height(), 1.0) : height;
  if (description.width > 0) {
    double natural = probe.averageCharWidth() * em / kProbeSize;
    double stretch = 100.0 * description.width / std::max(natural, 0.01);
    font.setStretch(std::clamp(static_cast<int>(stretch + 0.5), 1, 4000));
  }
  font.setPixelSize(std::max(static_cast<int>(em + 0.5), 1));
  return font;
}

std::optional<FontDescription> loadFontFile(const QString& path) {
  QFile file;
#ifndef _WIN32
  // Opening a FIFO waits for a writer, for ever at start-up: it is opened without waiting, and
  // anything but a regular file is passed over like a missing file.
  int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat info {};
  if (fd < 0) return std::nullopt;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return std::nullopt;
  }
#else
  file.setFileName(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
#endif
  // One byte more than a font file holds, so that a longer file is seen to be one.
  QByteArray bytes = file.read(static_cast<qint64>(kFontFileSize) + 1);
  std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                     static_cast<std::size_t>(bytes.size()));
  return readFontFile(view);
}

bool saveFontFile(const QString& path, const FontDescription& description) {
  auto bytes = writeFontFile(description);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  auto size = static_cast<qint64>(bytes.size());
  if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) return false;
  return file.commit();
}

}  // namespace keldovar
