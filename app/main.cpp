#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

#include "ui/form1.h"

namespace {

// Without a display Qt would abort with a platform-plugin error that does not
// say what to do instead. Only X11 and Wayland sessions announce their display
// in the environment; Windows and macOS always have one.
bool HasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
  return !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
  return true;
#endif
}

// Qt's translations lie beside Qt, or on Windows inside the program.
QString QtTranslationsPath() {
#ifdef Q_OS_WIN
  return QStringLiteral(":/huecode/translations");
#else
  return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fputs(
        "huecode: no display (DISPLAY and WAYLAND_DISPLAY are not set); run it under a virtual "
        "display with 'xvfb-run huecode', or convert on the command line with 'huecode-cli'.\n",
        stderr);
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("huecode"));
  QGuiApplication::setDesktopFileName(QStringLiteral("huecode"));

  // The windows speak Chinese; so should the colour dialog Qt provides.
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QtTranslationsPath())) {
    QApplication::installTranslator(&qtTranslator);
  }

  huecode::Form1 form;
  form.show();
  return QApplication::exec();
}
