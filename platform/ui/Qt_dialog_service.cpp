#include "Qt_dialog_service.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>
#include <vector>

namespace ui {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// "Capture files|*.kd3|All files|*.*" becomes "Capture files (*.kd3);;All files (*)".
QString Qt_Filter(const std::string& filter) {
    QStringList parts = Q(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        patterns.replace("*.*", "*");
        // A description that names its patterns already ("Capture files (*.kd3)") shows them once.
        const QString shown = "(" + patterns + ")";
        out << (parts[i].endsWith(shown) ? parts[i] : parts[i] + " " + shown);
    }
    return out.join(";;");
}

}  // namespace

int32_t Qt_dialog_service::Message_Box(const std::string& prompt, int32_t buttons, const std::string& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(Q(title));
    box.setText(Q(prompt));
    switch (buttons & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct Choice { QMessageBox::StandardButton button; int32_t result; };
    std::vector<Choice> choices;
    switch (buttons & 7) {
    case vbOKCancel: choices = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbAbortRetryIgnore:
        choices = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
        break;
    case vbYesNoCancel:
        choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbYesNo: choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case vbRetryCancel: choices = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: choices = {{QMessageBox::Ok, vbOK}}; break;
    }
    for (const Choice& c : choices) box.addButton(c.button);
    size_t default_index = (buttons & vbDefaultButton3) ? 2 : (buttons & vbDefaultButton2) ? 1 : 0;
    if (default_index < choices.size()) box.setDefaultButton(choices[default_index].button);
    // A top-most window (the error report) would cover the box while the box blocks it.
    bool top_most_shown = false;
    for (const QWidget* window : QApplication::topLevelWidgets())
        top_most_shown = top_most_shown || (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    if ((buttons & vbSystemModal) || top_most_shown) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
    auto pressed = box.standardButton(box.clickedButton());
    for (const Choice& c : choices)
        if (c.button == pressed) return c.result;
    // Closed by the window's close button: Cancel where there is one, else the only answer.
    for (const Choice& c : choices)
        if (c.result == vbCancel) return vbCancel;
    return choices.back().result;
}

std::optional<std::string> Qt_dialog_service::Input_Box(const std::string& prompt, const std::string& title,
                                         const std::string& default_text) {
    bool ok = false;
    QString text = QInputDialog::getText(QApplication::activeWindow(), Q(title), Q(prompt), QLineEdit::Normal,
                                         Q(default_text), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> Qt_dialog_service::Open_File(const File_Request& request) {
    QString start = Q(request.initial_dir);
    if (!request.file_name.empty()) start = start.isEmpty() ? Q(request.file_name) : start + "/" + Q(request.file_name);
    QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), Q(request.title), start,
                                                Qt_Filter(request.filter));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> Qt_dialog_service::Browse_Folder(const std::string& title, const std::string& start_folder) {
    QString path = QFileDialog::getExistingDirectory(QApplication::activeWindow(), Q(title), Q(start_folder));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

}  // namespace ui
