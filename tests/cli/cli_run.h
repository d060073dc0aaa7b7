// Running the built kindrel executable from a test: stdout and stderr captured separately.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace kindrel::clitest {

struct RunResult {
    int exitCode = -1;  // 128 + signal number when the program was killed
    std::string out;
    std::string err;
};

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteTextFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The lines of a text (without their line ends).
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Starts exe with args and the environment variables env ("NAME=value") added; stdout and
// stderr go to files in dir, stdin is /dev/null; inChild (when given) runs in the child just
// before exec (limits, another user). Returns the child's process id.
inline pid_t StartProgram(const char* exe, const std::vector<std::string>& args,
                          const std::filesystem::path& dir,
                          const std::vector<std::string>& env = {},
                          const std::function<void()>& inChild = {}) {
    const std::filesystem::path outFile = dir / "stdout.txt";
    const std::filesystem::path errFile = dir / "stderr.txt";
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = open("/dev/null", O_RDONLY);
        dup2(out, 1);
        dup2(err, 2);
        dup2(in, 0);
        for (const std::string& entry : env) putenv(const_cast<char*>(entry.c_str()));
        if (inChild) inChild();
        std::vector<char*> argv{const_cast<char*>(exe)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(exe, argv.data());
        _exit(127);
    }
    return pid;
}

// Waits for the program started in dir and collects its outputs. A program still running
// after timeoutSeconds is killed and reported with exit code -2 (it hung).
inline RunResult FinishProgram(pid_t pid, const std::filesystem::path& dir,
                               int timeoutSeconds = 120) {
    int status = 0;
    bool hung = false;
    for (int waited = 0;; ++waited) {
        if (waitpid(pid, &status, WNOHANG) == pid) break;
        if (waited >= timeoutSeconds * 100) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            hung = true;
            break;
        }
        usleep(10000);
    }
    const std::filesystem::path outFile = dir / "stdout.txt";
    const std::filesystem::path errFile = dir / "stderr.txt";
    RunResult result;
    result.exitCode = hung                ? -2
                      : WIFEXITED(status) ? WEXITSTATUS(status)
                                          : 128 + WTERMSIG(status);
    result.out = ReadText(outFile);
    result.err = ReadText(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return result;
}

// Runs exe with args; the outputs pass through files in dir.
inline RunResult RunProgram(const char* exe, const std::vector<std::string>& args,
                            const std::filesystem::path& dir) {
    return FinishProgram(StartProgram(exe, args, dir), dir);
}

}  // namespace kindrel::clitest
