#include "Resources.h"

#include "platform/vb/VbError.h"

#include <QFile>

namespace resources {

std::vector<uint8_t> Load_Res_Data(const std::string& kind, const std::string& name) {
    QFile file(QString::fromStdString(":/" + kind + "/" + name));
    if (!file.open(QIODevice::ReadOnly)) vb::Raise(326, "Resource with identifier '" + name + "' not found");
    QByteArray bytes = file.readAll();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace resources
