#include "ToolRunner.h"

#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

namespace {

std::string readWhole(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

std::filesystem::path programPath(const std::string& name)
{
    if (const char* bin = std::getenv("TAVREL_BIN"); bin && *bin)
        return std::filesystem::path(bin) / name;
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / name;
}

ToolRun runProgram(const std::string& name, const std::vector<std::string>& args,
                   const std::vector<std::string>& environment)
{
    std::vector<std::string> argv = {programPath(name).string()};
    argv.insert(argv.end(), args.begin(), args.end());
    static std::atomic<int> counter{0};
    std::string tag = std::to_string(::getpid()) + "-" + std::to_string(++counter);
    std::filesystem::path temp = std::filesystem::temp_directory_path();
    std::filesystem::path outFile = temp / ("tavrel-out-" + tag), errFile = temp / ("tavrel-err-" + tag);

    ToolRun run;
    pid_t pid = ::fork();
    if (pid == 0) {
        int in = ::open("/dev/null", O_RDONLY);
        int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        for (const std::string& setting : environment)
            ::putenv(const_cast<char*>(setting.c_str()));
        std::vector<char*> pointers;
        for (auto& arg : argv)
            pointers.push_back(arg.data());
        pointers.push_back(nullptr);
        ::execv(pointers[0], pointers.data());
        ::_exit(127);
    }
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    run.out = readWhole(outFile);
    run.err = readWhole(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return run;
}

ToolRun runDeviceTool(const std::filesystem::path& deviceRoot, const std::vector<std::string>& args)
{
    std::vector<std::string> all = {"--device", deviceRoot.string()};
    all.insert(all.end(), args.begin(), args.end());
    return runProgram("tavrel-device", all);
}

} // namespace testing_support
