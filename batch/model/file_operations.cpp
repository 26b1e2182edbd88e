// Move, copy and the date texts of the panel, the confirmation and the run clock.
#include "batch/model/file_operations.h"

#include <cstdio>
#include <ctime>

#include "batch/model/user_interface.h"

namespace qm {

MoveResult MoveFileOrCopy(FileSystem& fs, const std::string& from, const std::string& rawTo, bool replace)
{
    const std::string to = fs.absolute(rawTo);
    Status renamed = fs.rename(from, to, replace);
    if (renamed) return {MoveOutcome::Moved, {}};
    if (renamed.failure() != Failure::CrossDevice) return {MoveOutcome::Failed, renamed};

    if (fs.isReadOnly(from)) return {MoveOutcome::Failed, Status::Fail("Cannot move file " + from, Failure::ReadOnly)};
    if (!replace && fs.exists(to))
        return {MoveOutcome::Failed, Status::Fail("\"" + to + "\" already exists", Failure::Exists)};
    if (Status copied = fs.copyFile(from, to); !copied) return {MoveOutcome::Failed, copied};
    if (Status removed = fs.remove(from); !removed) return {MoveOutcome::Copied, removed};
    return {MoveOutcome::Moved, {}};
}

std::string FileDateText(FileSystem& fs, UserInterface& ui, const std::string& path)
{
    std::optional<FileTime> time = fs.lastWriteTime(path);
    if (!time) {
        ui.showPlainMessage(path);
        return {};
    }
    return DateTimeText(*time);
}

namespace {

std::tm LocalTime(FileTime time)
{
    std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local {};
    localtime_r(&seconds, &local);
    return local;
}

} // namespace

std::string DateTimeText(FileTime time)
{
    std::tm local = LocalTime(time);
    char text[64];
    if (local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0)
        std::snprintf(text, sizeof text, "%02d.%02d.%04d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
    else
        std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", local.tm_mday, local.tm_mon + 1,
            local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

int LocalDay(FileTime time)
{
    std::tm local = LocalTime(time);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

std::optional<int> DateKey(std::string_view dateText)
{
    std::string_view date = dateText.substr(0, dateText.find(' '));
    if (date.size() != 10 || date[2] != '.' || date[5] != '.') return std::nullopt;
    int value[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 3, 6};
    const std::size_t lengths[3] = {2, 2, 4};
    for (int part = 0; part < 3; ++part) {
        for (std::size_t i = starts[part]; i < starts[part] + lengths[part]; ++i) {
            if (date[i] < '0' || date[i] > '9') return std::nullopt;
            value[part] = value[part] * 10 + (date[i] - '0');
        }
    }
    const int day = value[0], month = value[1], year = value[2];
    if (day < 1 || day > 31 || month < 1 || month > 12) return std::nullopt;
    return year * 10000 + month * 100 + day;
}

std::string DurationText(std::chrono::steady_clock::duration elapsed)
{
    long long seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    if (seconds < 0) seconds = 0;
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

} // namespace qm
