#include "File_Commands.h"

#include "Module_AppUserData.h"
#include "platform/fs/File_system.h"
#include "platform/ui/Dialog_service.h"

#include <QProcess>
#include <QStandardPaths>
#include <filesystem>

namespace File_Commands {

namespace {

std::string Xml_Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// One argument of a desktop entry's Exec line: quoted, with the characters that stay special inside
// quotes escaped, then escaped once more as every desktop-entry string is.
std::string Exec_Argument(const std::string& arg) {
    std::string quoted = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string out;
    for (char c : quoted) {
        if (c == '\\') out += "\\\\";
        else if (c == '%') out += "%%";
        else out += c;
    }
    return out;
}

// A desktop-entry string value on one line.
std::string Entry_Value(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

bool Make_Folder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!ec && std::filesystem::is_directory(folder, ec)) return true;
    ui::MsgBox("Error: Creating Key!", ui::vbOKOnly);
    return false;
}

bool Write_Value(const std::string& path, const std::string& content) {
    if (fs::Write_File_Atomic(path, content) == 0) return true;
    ui::MsgBox("Error Setting String Value!", ui::vbOKOnly);
    return false;
}

// The desktop's caches are rebuilt where the tools are installed; without them the files are read at
// their next rebuild.
void Refresh_Caches(const std::string& data_home) {
    for (const auto& [tool, folder] : {std::pair{"update-mime-database", "/mime"}, {"update-desktop-database", "/applications"}}) {
        QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty()) continue;
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, {QString::fromStdString(data_home + folder)});
        process.waitForFinished(30000);
    }
}

}  // namespace

std::string Mime_Type_Of(const std::string& class_name) { return "application/x-" + class_name; }

std::string Mime_Package_Path(const std::string& class_name) {
    return Module_AppUserData::Data_Home() + "/mime/packages/vantorel-" + class_name + ".xml";
}

std::string Desktop_Entry_Path(const std::string& class_name) {
    return Module_AppUserData::Data_Home() + "/applications/vantorel-" + class_name + ".desktop";
}

bool Create_File_Association(const std::string& ext, const std::string& exe_path, std::string& class_name,
                             const std::string& description, const std::string& icon_path) {
    const std::string data_home = Module_AppUserData::Data_Home();
    const std::string type = Mime_Type_Of(class_name);
    const std::string glob = "*" + (ext.rfind('.', 0) == 0 ? ext : "." + ext);

    // The extension names the kind, the kind carries the description.
    Make_Folder(data_home + "/mime/packages");
    if (!Write_Value(Mime_Package_Path(class_name),
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                     "  <mime-type type=\"" + Xml_Escaped(type) + "\">\n"
                     "    <comment>" + Xml_Escaped(description) + "</comment>\n"
                     "    <glob pattern=\"" + Xml_Escaped(glob) + "\"/>\n"
                     "  </mime-type>\n"
                     "</mime-info>\n"))
        return false;

    // The icon and the open command.
    const std::string entry_path = Desktop_Entry_Path(class_name);
    Make_Folder(data_home + "/applications");
    class_name += "\\shell";
    class_name += "\\open";
    class_name += "\\command";
    if (!Write_Value(entry_path, "[Desktop Entry]\n"
                                 "Type=Application\n"
                                 "Name=" + Entry_Value(ui::Program_Title) + "\n"
                                 "Comment=" + Entry_Value(description) + "\n"
                                 "Exec=" + Exec_Argument(exe_path) + " %f\n"
                                 "Icon=" + Entry_Value(icon_path) + "\n"
                                 "MimeType=" + Entry_Value(type) + ";\n"
                                 "NoDisplay=true\n"
                                 "Terminal=false\n"))
        return false;

    Refresh_Caches(data_home);
    return true;
}

}  // namespace File_Commands
