#include "linux/SaverSettings.h"

#include <sys/stat.h>
#include <unistd.h>

#include "linux/SafeFile.h"

namespace {

std::optional<std::string> ConfigHome(const char* xdgConfigHome, const char* home)
{
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        return std::string(xdgConfigHome);
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.config";
    return std::nullopt;
}

// The name earlier versions derived the folder from: the file name without its folder
// and without the extension after its last '.'.
std::string ProgramNameFromPath(const std::string& argv0)
{
    const std::size_t slash = argv0.find_last_of('/');
    std::string name = argv0.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name.empty() ? std::string("arcveil3d") : name;
}

std::string Folder(const std::string& path)
{
    return path.substr(0, path.find_last_of('/'));
}

} // namespace

SettingsRecord LinuxDefaultSettings()
{
    SettingsRecord settings = DefaultSettings();
    settings.Sounds = 0;
    return settings;
}

bool ReadsSettingsFile(const SaverOptions& options)
{
    return options.saveSettings || (options.target != SaverTarget::Root && options.target != SaverTarget::WindowId);
}

std::optional<std::string> SettingsFilePath(const char* xdgConfigHome, const char* home)
{
    const auto base = ConfigHome(xdgConfigHome, home);
    if (!base)
        return std::nullopt;
    return *base + "/arcveil3d/settings.ini";
}

std::vector<std::string> OldSettingsFilePaths(const char* xdgConfigHome, const char* home, const std::string& argv0)
{
    const auto base = ConfigHome(xdgConfigHome, home);
    if (!base)
        return {};
    const std::string company = *base + "/" + kSettingsCompanyKey + "/";
    std::vector<std::string> paths = {company + ProgramNameFromPath(argv0) + "/settings.ini"};
    if (ProgramNameFromPath(argv0) != "arcveil3d")
        paths.push_back(company + "arcveil3d/settings.ini");
    return paths;
}

std::string MoveOldSettingsFile(const std::string& path, const std::vector<std::string>& oldPaths,
                                std::string& warning)
{
    struct stat info {};
    const bool exists = lstat(path.c_str(), &info) == 0;
    for (const std::string& old : oldPaths) {
        if (lstat(old.c_str(), &info) != 0)
            continue;
        if (exists) {
            warning += "arcveil3d: warning: " + old + " is no longer read: " + path + " is; the old file is kept\n";
            continue;
        }
        // A link, a folder or a device is the user's to sort out: a copy of it would not be it.
        if (!S_ISREG(info.st_mode)) {
            warning += "arcveil3d: warning: " + old + " is not a regular file; it is left alone\n";
            continue;
        }
        const FileBytes contents = ReadSmallFile(old);
        // Read where it is: the store names what is wrong with it.
        if (!contents.problem.empty())
            return old;
        const std::string problem = WriteFileAtomically(path, contents.bytes);
        if (!problem.empty()) {
            warning += "arcveil3d: warning: " + old + " could not be moved to " + path + " (" + problem +
                       "); it is read where it is\n";
            return old;
        }
        unlink(old.c_str());
        // Folders that held nothing else go too; rmdir leaves any other one alone.
        rmdir(Folder(old).c_str());
        rmdir(Folder(Folder(old)).c_str());
        return path;
    }
    return path;
}

void ReadSettingsFile(CFileProfileStore& store, SettingsRecord& settings)
{
    const auto read = [&](const SettingDescriptor& descriptor) {
        const std::int32_t value = store.GetProfileInt(kSettingsSection, descriptor.name, settings.*descriptor.field);
        if (descriptor.Allows(value))
            settings.*descriptor.field = value;
        else
            store.Refuse(kSettingsSection, descriptor.name,
                         "is outside " + std::to_string(descriptor.low) + " to " + std::to_string(descriptor.high));
    };
    for (const auto& descriptor : kSettingDescriptors)
        read(descriptor);
    read(kGentleDescriptor);
}
