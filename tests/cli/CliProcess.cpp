#include "CliProcess.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace lintrel::testing {

Launch withFault(const std::string& fault, const std::filesystem::path& watched) {
    return {{{"LD_PRELOAD", LINTREL_FAULT_INJECTOR},
             // The sanitizers' runtime need not be the first library then.
             {"ASAN_OPTIONS", "verify_asan_link_order=0"},
             {"LINTREL_FAULT", fault},
             {"LINTREL_FAULT_PATH", watched.string()}},
            -1};
}

pid_t start(const TempDir& dir, const std::vector<std::string>& arguments, const Launch& launch) {
    pid_t child = fork();
    if (child == 0) {
        setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
        for (const auto& [name, value] : launch.environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        rlimit noCore{0, 0};  // a signal that dumps core must not fill the disk
        setrlimit(RLIMIT_CORE, &noCore);
        if (launch.fileSizeLimit >= 0) {
            rlimit limit{static_cast<rlim_t>(launch.fileSizeLimit),
                         static_cast<rlim_t>(launch.fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::string out = (dir.path() / "stdout.txt").string();
        std::string err = (dir.path() / "stderr.txt").string();
        (void)freopen(out.c_str(), "w", stdout);
        (void)freopen(err.c_str(), "w", stderr);
        std::vector<char*> argv{const_cast<char*>(launch.program.c_str())};
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(launch.program.c_str(), argv.data());
        _exit(127);
    }
    return child;
}

Outcome finish(const TempDir& dir, pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            WIFSIGNALED(status) ? WTERMSIG(status) : 0, readBytes(dir.path() / "stdout.txt"),
            readBytes(dir.path() / "stderr.txt")};
}

Outcome run(const TempDir& dir, const std::vector<std::string>& arguments, const Launch& launch) {
    return finish(dir, start(dir, arguments, launch));
}

}  // namespace lintrel::testing
