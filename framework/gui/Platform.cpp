#include "framework/gui/Platform.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QWidget>

#include "framework/gui/Runtime.h"

namespace fw {
namespace {

PlatformServices* installed = nullptr;

}  // namespace

PlatformServices& Platform() {
  static QtPlatformServices qt;
  return installed ? *installed : qt;
}

void SetPlatform(PlatformServices* services) { installed = services; }

void QtPlatformServices::ShowMessage(const std::string& text) {
  if (!QApplication::instance()) return;
  QMessageBox box(QMessageBox::NoIcon, detail::FromUtf8(detail::ApplicationTitle()), detail::FromUtf8(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  QPointer<QWidget> owner = QApplication::activeWindow();
  detail::ExecModal(box);
  if (owner && owner != QApplication::activeWindow()) {
    detail::R().returningFromMessage = owner;
    // Should the desktop never hand the window back, a later activation is a real one.
    QTimer::singleShot(1000, owner, [owner] {
      if (detail::R().returningFromMessage == owner) detail::R().returningFromMessage = nullptr;
    });
  }
}

void QtPlatformServices::Beep() {
  if (QApplication::instance()) QApplication::beep();
}

bool QtPlatformServices::ChoosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer);
  return detail::ExecModal(dialog) == QDialog::Accepted;
}

std::chrono::system_clock::time_point QtPlatformServices::Now() { return std::chrono::system_clock::now(); }

std::vector<std::string> QtPlatformServices::DataFolders() {
  if (!QCoreApplication::instance()) return {};
  const QDir beside(QCoreApplication::applicationDirPath());
  // The installed layout, relative to the executable's folder, so that a moved prefix still works.
  return {detail::ToUtf8(beside.path()),
          detail::ToUtf8(QDir::cleanPath(beside.filePath(QStringLiteral(TESSIVAR_DATA_FROM_BINDIR))))};
}

}  // namespace fw
