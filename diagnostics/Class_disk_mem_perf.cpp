#include "Class_disk_mem_perf.h"

#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/VbError.h"
#include "shell/Module_AppUserData.h"
#include "shell/Module_dependant.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t Buffer_Size = 5000000;

// Every byte of the buffer, retrying short writes.
bool Write_All(int fd, const std::vector<uint8_t>& buffer) {
    size_t done = 0;
    while (done < buffer.size()) {
        ssize_t n = ::write(fd, buffer.data() + done, buffer.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string Class_disk_mem_perf::Rate_Text(double bytes, int32_t elapsed_ms) {
    if (elapsed_ms <= 0) elapsed_ms = 1;
    float rate = static_cast<float>(bytes / (elapsed_ms / 1000.0) / 1048576.0);
    return vb::CStr(vb::Round(rate, 1)) + " MBytes/sec";
}

std::string Class_disk_mem_perf::DiskPerf() {
    const std::string path = Module_AppUserData::Get_AppData_Folder() + "/perftest";
    Module_dependant::Kill_File(path);
    std::vector<uint8_t> buffer(Buffer_Size, 0);
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) vb::Raise(75, "Path/File access error: " + path + ": " + std::strerror(errno));
    int32_t start = sys::timeGetTime();
    bool ok = true;
    for (int i = 0; i < 75 && ok; ++i) ok = Write_All(fd, buffer);
    int32_t end = sys::timeGetTime();
    int error = errno;
    ::close(fd);
    Module_dependant::Kill_File(path);
    if (!ok) vb::Raise(75, "Path/File access error: " + path + ": " + std::strerror(error));
    return Rate_Text(75.0 * Buffer_Size, sys::Tick_Diff(end, start));
}

std::string Class_disk_mem_perf::DiskPerf2() {
    const std::string path = Module_AppUserData::Get_AppData_Folder() + "/testperf.txt";
    Module_dependant::Kill_File(path);
    std::vector<uint8_t> buffer(Buffer_Size, 0);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0644);
    if (fd < 0) {
        ui::MsgBox("Last error = " + std::to_string(errno));
        return "";
    }
    int32_t start = sys::timeGetTime();
    for (int i = 0; i < 10; ++i) Write_All(fd, buffer);
    int32_t end = sys::timeGetTime();
    ::close(fd);
    return Rate_Text(10.0 * Buffer_Size, sys::Tick_Diff(end, start));
}
