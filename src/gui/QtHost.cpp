#include "gui/QtHost.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

#ifdef _WIN32
#include <windows.h>
#endif

namespace ondrix {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

#ifdef _WIN32
// The taskbar's height in the system's pixels: the top-level window of class
// "Shell_traywnd", 0 when there is none. A taskbar docked at the left or
// right edge is as tall as the screen and takes no height from the window.
int windowsTaskbarHeight()
{
    HWND taskbar = FindWindowA("Shell_traywnd", nullptr);
    RECT r{};
    if (!taskbar || !GetWindowRect(taskbar, &r))
        return 0;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    return width > height ? std::max(0, height) : 0;
}
#endif

} // namespace

std::string nameFilter(const FileDialogRequest& req)
{
    const std::string inParens = "(" + req.filterPattern + ")";
    if (req.filterPattern.empty() || req.filterDesc.find(inParens) != std::string::npos)
        return req.filterDesc;
    if (req.filterDesc.empty())
        return inParens;
    return req.filterDesc + " " + inParens;
}

MessageAnswer QtHost::messageBox(const std::string& text, const std::string& title,
                                 MessageButtons buttons)
{
    QMessageBox box(window_);
    box.setWindowTitle(q(title));
    box.setText(q(text));
    box.setTextFormat(Qt::PlainText);
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::string QtHost::inputBox(const std::string& prompt, const std::string& title,
                             const std::string& defaultText)
{
    QInputDialog dlg(window_);
    dlg.setInputMode(QInputDialog::TextInput);
    dlg.setWindowTitle(q(title));
    dlg.setLabelText(q(prompt));
    dlg.setTextValue(q(defaultText));
    // The field is named by its prompt; one without a prompt (the password's)
    // by the box's title, for a screen reader.
    if (prompt.empty())
        if (auto* field = dlg.findChild<QLineEdit*>())
            field->setAccessibleName(q(title));
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.textValue().toStdString();
}

bool QtHost::fileDialog(const FileDialogRequest& req, std::string& fileName)
{
    QFileDialog dlg(window_);
    dlg.setAcceptMode(req.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(req.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setNameFilter(q(nameFilter(req)));
    QString ext = q(req.defaultExt);
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dlg.setDefaultSuffix(ext);
    // The name chosen last time is offered again.
    if (!fileName.empty())
        dlg.selectFile(QFile::decodeName(QByteArray::fromStdString(fileName)));
    if (dlg.exec() != QDialog::Accepted)
        return false;
    const QStringList files = dlg.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return false;
    fileName = QFile::encodeName(files.first()).toStdString();
    return true;
}

void QtHost::setBusyPointer(bool busy)
{
    // Kept as one flag: a second "busy" must not stack a second cursor that
    // one "not busy" would leave behind.
    if (busy == busy_ || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool QtHost::ctrlKeyDown()
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

ScreenInfo QtHost::screen()
{
    ScreenInfo info;  // defaults: a 96-dpi screen without a taskbar
    QScreen* s = window_ && window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    if (!s)
        return info;
    const QRect g = s->geometry();
    info.widthPx = g.width();
    info.heightPx = g.height();
    const double dpiX = s->logicalDotsPerInchX();
    const double dpiY = s->logicalDotsPerInchY();
    info.twipsPerPixelX = dpiX > 0 ? 1440.0 / dpiX : 15.0;
    info.twipsPerPixelY = dpiY > 0 ? 1440.0 / dpiY : 15.0;
#ifdef _WIN32
    // GetWindowRect counts device pixels; the screen's sizes are Qt's.
    const double ratio = s->devicePixelRatio() > 0 ? s->devicePixelRatio() : 1.0;
    info.taskbarHeightPx = static_cast<int>(std::lround(windowsTaskbarHeight() / ratio));
#else
    // What the desktop's panels leave of the screen's height (a panel at the
    // top counts as well as one at the bottom).
    info.taskbarHeightPx = std::max(0, g.height() - s->availableGeometry().height());
#endif
    // The real frame: none until the window system has framed the window (and
    // none at all without a window manager). The window follows a frame that
    // comes later.
    info.frameWidthPx = 0;
    info.frameHeightPx = 0;
    if (window_ && window_->isVisible()) {
        const QRect fg = window_->frameGeometry();
        const QRect cg = window_->geometry();
        info.frameWidthPx = std::max(0, fg.width() - cg.width());
        info.frameHeightPx = std::max(0, fg.height() - cg.height());
    }
    return info;
}

std::string QtHost::groupSeparator() { return QLocale::system().groupSeparator().toStdString(); }

std::string QtHost::programDir()
{
    if (QCoreApplication::instance())
        return QFile::encodeName(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()))
            .toStdString();
    return ".";
}

} // namespace ondrix
