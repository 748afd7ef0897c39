#include "app/DataLocation.h"

#include "app/Platform.h"

#include <system_error>
#include <utility>

namespace fs = std::filesystem;

DataLocation::DataLocation(fs::path working, fs::path installed)
    : workingFolder(std::move(working))
    , installedFolder(std::move(installed))
{
}

fs::path DataLocation::InstalledBeside(const fs::path& programFile, const fs::path& fromProgram)
{
    if (programFile.empty())
        return {};
    return (programFile.parent_path() / fromProgram).lexically_normal();
}

fs::path DataLocation::RunningProgram()
{
    return Platform::ProgramFile();
}

bool DataLocation::HoldsData(const fs::path& folder)
{
    std::error_code error;
    return fs::is_directory(folder / "Data", error);
}

fs::path DataLocation::Find() const
{
    if (HoldsData(workingFolder))
        return workingFolder;
    if (HoldsData(installedFolder))
        return installedFolder;
    return {};
}

bool DataLocation::Enter() const
{
    const fs::path found = Find();
    if (found.empty())
        return false;
    if (found == workingFolder)
        return true;
    std::error_code error;
    fs::current_path(found, error);
    return !error;
}

namespace {
// A folder as the player reads it, in UTF-8: on Linux its bytes as they are; on Windows, where
// a path is wide characters, their UTF-8 (the narrow string() would use the ANSI code page).
std::string Shown(const fs::path& folder)
{
    const std::u8string text = folder.u8string();
    return std::string(text.begin(), text.end());
}
} // namespace

std::string DataLocation::NotFoundMessage() const
{
    const std::string working
        = workingFolder.empty() ? std::string("the working folder") : Shown(workingFolder);
    std::string message = "skarvold: no game data found: looked for a Data folder in " + working;
    if (!installedFolder.empty())
        message += " and in " + Shown(installedFolder);
    return message;
}
