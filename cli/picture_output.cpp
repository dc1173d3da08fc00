#include "cli/picture_output.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <QtGlobal>
#include <cstdio>
#include <memory>
#include <vector>

#include "preview/previews.h"
#include "render/picture_styles.h"
#include "render/picture_surface.h"

namespace huecode {

namespace {

QtMessageHandler g_qtMessages = nullptr;

// Qt notes that it falls back to a runtime folder of its own when
// XDG_RUNTIME_DIR is unset, as it is for root or in many containers. Pictures
// drawn offscreen need no such folder, and a script should not see the note.
void WithoutRuntimeDirNote(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
    return;
  }
  if (g_qtMessages) {
    g_qtMessages(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

// The pictures need fonts and a palette, hence an application object; no
// window is ever shown, so a missing display must not stop it.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
  if (QGuiApplication::instance()) {
    return nullptr;
  }
  g_qtMessages = qInstallMessageHandler(WithoutRuntimeDirNote);
#ifndef Q_OS_WIN
  // Windows' own platform plugin, the one linked in there, needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
#endif
  static int argc = 1;
  static char name[] = "huecode-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

QImage RenderPreview(const ConversionPlan& plan) {
  PictureSurface surface(Picture1Style());
  DrawEffectPreview(surface, plan.text(), plan.step());
  return surface.image();
}

QImage RenderBar(const ConversionPlan& plan) {
  PictureSurface surface(Picture2Style());
  surface.Scale(0, 0, 255, 10);
  DrawGradientBar(surface, plan.settings().gradient);
  return surface.image();
}

struct PendingPicture {
  std::string path;
  QImage image;
  std::unique_ptr<QSaveFile> file;
};

Failure WriteError(const std::string& path, const QString& reason) {
  return {kExitInputError, "cannot write '" + path + "': " + reason.toStdString()};
}

}  // namespace

std::optional<Failure> WritePictures(const CliOptions& options, const ConversionPlan& plan) {
  const std::unique_ptr<QGuiApplication> app = EnsureGuiApplication();
  std::vector<PendingPicture> pictures;
  if (options.previewPngPath) {
    pictures.push_back({*options.previewPngPath, RenderPreview(plan), nullptr});
  }
  if (options.barPngPath) {
    pictures.push_back({*options.barPngPath, RenderBar(plan), nullptr});
  }
  // Every file is written in full before any replaces its target, so a
  // failure leaves all targets as they were.
  for (PendingPicture& picture : pictures) {
    picture.file = std::make_unique<QSaveFile>(QFile::decodeName(picture.path.c_str()));
    if (!picture.file->open(QIODevice::WriteOnly)) {
      return WriteError(picture.path, picture.file->errorString());
    }
    QImageWriter writer(picture.file.get(), "png");
    if (!writer.write(picture.image)) {
      return WriteError(picture.path, writer.errorString());
    }
  }
  for (PendingPicture& picture : pictures) {
    if (!picture.file->commit()) {
      return WriteError(picture.path, picture.file->errorString());
    }
  }
  return std::nullopt;
}

}  // namespace huecode
