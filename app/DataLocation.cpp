#include "app/DataLocation.h"

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
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program;
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

std::string DataLocation::NotFoundMessage() const
{
    const std::string working
        = workingFolder.empty() ? std::string("the working folder") : workingFolder.string();
    std::string message = "skarvold: no game data found: looked for a Data folder in " + working;
    if (!installedFolder.empty())
        message += " and in " + installedFolder.string();
    return message;
}
