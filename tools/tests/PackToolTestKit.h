// Helpers for the carton-pack tests: running a command in-process with its
// output captured, and running the built program itself.
#ifndef CARTON_TESTS_PACKTOOLTESTKIT_H
#define CARTON_TESTS_PACKTOOLTESTKIT_H

#include "../../launcher/tests/PackageTestKit.h"

#include "CartonPackCommands.h"
#include "KwPlatformFile.h"

#include <cstdlib>
#include <functional>
#ifdef _WIN32
#include <windows.h>
#endif

namespace KwSDK {
namespace PackTest {

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;

    // Failures print exactly one line that names the tool.
    bool OneErrorLine() const
    {
        return err.compare(0, 13, "carton-pack: ") == 0 && err.find('\n') == err.size() - 1;
    }
};

typedef int (CartonPackCommands::*Command)(int, char**);

// Runs one command of the library with its output captured in files; a
// data folder, when given, stands in for the installed share/carton.
inline Outcome RunCommand(const TestFolder& dir, Command command, std::vector<std::string> args,
                          const std::string& dataFolder = std::string())
{
    std::string outPath = dir.Path("stdout.txt");
    std::string errPath = dir.Path("stderr.txt");
    FILE* out = Platform::FileOpen(Str(outPath).GetText(), "wb");
    FILE* err = Platform::FileOpen(Str(errPath).GetText(), "wb");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    Outcome outcome;
    if (out && err) {
        CartonPackCommands commands(out, err);
        if (!dataFolder.empty())
            commands.SetDataFolder(Str(dataFolder));
        outcome.code = (commands.*command)(static_cast<int>(args.size()), argv.data());
    }
    if (out)
        fclose(out);
    if (err)
        fclose(err);
    outcome.out = ReadFile(outPath);
    outcome.err = ReadFile(errPath);
    return outcome;
}

#ifdef _WIN32
inline HANDLE InheritableFile(const std::string& path)
{
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs the built program with its output in two files; answers its exit code.
inline int RunProgram(const std::vector<std::string>& args, const std::string& outPath,
                      const std::string& errPath)
{
    std::string line = "\"" + KwTest::WinePath(CARTON_PACK_EXE) + "\"";
    for (const std::string& arg : args)
        line += " \"" + arg + "\"";
    HANDLE out = InheritableFile(outPath);
    HANDLE err = InheritableFile(errPath);
    HANDLE process = KwTest::StartProgram(line, nullptr, out, err);
    int code = process ? static_cast<int>(KwTest::FinishProgram(process, INFINITE)) : -1;
    CloseHandle(out);
    CloseHandle(err);
    return code;
}
#else
inline std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char ch : text)
        quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return quoted + "'";
}

inline int RunProgram(const std::vector<std::string>& args, const std::string& outPath,
                      const std::string& errPath)
{
    std::string line = Quoted(CARTON_PACK_EXE);
    for (const std::string& arg : args)
        line += " " + Quoted(arg);
    line += " > " + Quoted(Std(Platform::NativePath(outPath.c_str()))) + " 2> " +
            Quoted(Std(Platform::NativePath(errPath.c_str())));
    int status = std::system(line.c_str());
    return status >= 0 && (status & 0x7F) == 0 ? (status >> 8) & 0xFF : -1;
}
#endif

// Runs the built carton-pack program.
inline Outcome RunTool(const TestFolder& dir, const std::vector<std::string>& args)
{
    Outcome outcome;
    std::string outPath = dir.Path("tool-stdout.txt");
    std::string errPath = dir.Path("tool-stderr.txt");
    outcome.code = RunProgram(args, outPath, errPath);
    outcome.out = ReadFile(outPath);
    outcome.err = ReadFile(errPath);
    return outcome;
}

} // namespace PackTest
} // namespace KwSDK

#endif
