// Volumes that are no folders of this system, mounted at a root path while they are read: the
// same on every system.
#include "system/system.h"

#include <map>
#include <mutex>

namespace {

std::mutex& MountsLock()
{
    static std::mutex lock;
    return lock;
}

std::map<std::string, const Volume*>& Mounts()
{
    static std::map<std::string, const Volume*> mounts;
    return mounts;
}

}  // namespace

VolumeMount::VolumeMount(const std::string& root, const Volume& volume) : root_(root)
{
    const std::lock_guard<std::mutex> locked(MountsLock());
    Mounts()[root_] = &volume;
}

VolumeMount::~VolumeMount()
{
    const std::lock_guard<std::mutex> locked(MountsLock());
    Mounts().erase(root_);
}

const Volume* MountedVolumeOf(const std::string& path, std::vector<std::string>& below)
{
    const std::lock_guard<std::mutex> locked(MountsLock());
    for (const auto& [root, volume] : Mounts()) {
        if (path.compare(0, root.size(), root) != 0 ||
            (path.size() > root.size() && path[root.size()] != '/' && path[root.size()] != '\\'))
            continue;
        below.clear();
        std::string name;
        for (std::size_t i = root.size(); i <= path.size(); ++i) {
            if (i == path.size() || path[i] == '/' || path[i] == '\\') {
                if (!name.empty())
                    below.push_back(name);
                name.clear();
            } else {
                name += path[i];
            }
        }
        return volume;
    }
    return nullptr;
}
