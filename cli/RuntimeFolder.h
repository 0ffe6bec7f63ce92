#pragma once

#include <filesystem>

namespace lintrel {

// A runtime folder of the program's own for Qt's offscreen painting, made when the environment
// names none (Qt would warn of it on stderr otherwise): private to the user in the temporary
// folder, and removed with what Qt left in it when this goes.
class RuntimeFolder {
public:
    RuntimeFolder();
    ~RuntimeFolder() { remove(); }
    // Removes the folder now. Qt looks at it only while its application starts; removed then,
    // a program killed while it paints (SIGKILL cannot be caught) leaves no folder behind.
    void remove();
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

private:
    std::filesystem::path m_path;  // empty when the environment had one, or none could be made
};

}  // namespace lintrel
