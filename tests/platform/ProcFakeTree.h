#pragma once

// A procfs stand-in in a temporary directory. Files are rewritten in place, as procfs content
// changes under an open descriptor; an ended process's comm is emptied before its entry goes,
// because an open procfs comm of a reaped process reads nothing.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace zorvane::testing {

class FakeProcTree {
public:
    FakeProcTree()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zorvane-proc-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary directory");
        root_ = pattern;
        AnnouncePid(300);
    }
    ~FakeProcTree() { std::filesystem::remove_all(root_); }
    FakeProcTree(const FakeProcTree&) = delete;
    FakeProcTree& operator=(const FakeProcTree&) = delete;

    const std::string& root() const { return root_; }

    // A new process, as fork and exec make it: the pid is allocated, then the entry appears.
    void Start(int pid, const std::string& name)
    {
        AnnouncePid(pid);
        AddEntry(pid, name);
    }

    // The last allocated pid moves (loadavg's last field).
    void AnnouncePid(int pid) { Write("loadavg", "0.00 0.01 0.05 1/123 " + std::to_string(pid) + "\n"); }

    // An entry without announcing its pid; `threadGroup` other than `pid` makes it a thread.
    void AddEntry(int pid, const std::string& name, int threadGroup = 0)
    {
        const std::string dir = std::to_string(pid);
        std::filesystem::create_directory(root_ + "/" + dir);
        Write(dir + "/comm", name + "\n");
        Write(dir + "/status", "Name:\t" + name + "\nUmask:\t0022\nState:\tS (sleeping)\nTgid:\t" +
                                   std::to_string(threadGroup ? threadGroup : pid) + "\nNgid:\t0\nPid:\t" +
                                   std::to_string(pid) + "\n");
    }

    // exec or prctl(PR_SET_NAME).
    void Rename(int pid, const std::string& name) { Write(std::to_string(pid) + "/comm", name + "\n"); }

    void End(int pid)
    {
        Write(std::to_string(pid) + "/comm", "");
        std::filesystem::remove_all(root_ + "/" + std::to_string(pid));
    }

    void Write(const std::string& relativePath, const std::string& content)
    {
        std::ofstream(root_ + "/" + relativePath, std::ios::binary | std::ios::trunc) << content;
    }

private:
    std::string root_;
};

}  // namespace zorvane::testing
