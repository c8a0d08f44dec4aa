#include "Module_MonitorCount.h"

#include <QGuiApplication>
#include <QScreen>

namespace Module_MonitorCount {

int32_t Get_Monitor_Count() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 1;
    return static_cast<int32_t>(QGuiApplication::screens().size());
}

}  // namespace Module_MonitorCount
