// The commands of carton-pack: new, check, create, list, extract, verify and
// the help.
#ifndef CARTON_PACK_COMMANDS_H
#define CARTON_PACK_COMMANDS_H

#include "FILENODE.h"
#include "KwString.h"
#include "TKwList.h"

#include <cstdio>

namespace KwSDK {

// Exit codes: 0 done, 1 the command failed, 2 the command line is wrong.
// Every failure prints exactly one line, starting "carton-pack: ", on the
// error stream.
class CartonPackCommands {
public:
    static const int kExitOk = 0;
    static const int kExitFailed = 1;
    static const int kExitUsage = 2;

    CartonPackCommands(FILE* out, FILE* err);

    // Each takes the arguments that follow the command's name.
    int New(int argc, char** argv);
    int Check(int argc, char** argv);
    int Create(int argc, char** argv);
    int List(int argc, char** argv);
    int Extract(int argc, char** argv);
    int Verify(int argc, char** argv);
    int Help();
    // A wrong command line: one line on the error stream, kExitUsage.
    int Usage(const char* format, ...) KW_FORMAT_CHECK(2, 3);

    // The folder of the installed launcher, wizard and package template;
    // unless set, <prefix>\share\carton for a program in <prefix>\bin.
    void SetDataFolder(const KwString& folder);
    KwString GetDataFolder() const;

private:
    struct CreateOptions;

    int Error(const char* format, ...) KW_FORMAT_CHECK(2, 3);
    int ParseCreate(int argc, char** argv, CreateOptions* options);
    int CheckCreateInputs(const CreateOptions& options);
    int CheckPackage(const KwString& folder, const KwString& program, unsigned int codePage,
                     const char* refusal);
    int ParseCodePage(const char* command, const KwString& text, unsigned int* codePage);
    int CopyTree(const KwString& from, const KwString& to);
    int CopyFile(const KwString& from, const KwString& to);
    void CopyInstalledPrograms(const KwString& target);
    int BuildPackage(const CreateOptions& options, const KwString& partial);
    int ReplaceOutput(const KwString& partial, const KwString& output);
    int WantsHelp(int argc, char** argv);
    void PrintTable(const KwString& program, TKwList<FILENODE>* table);

    FILE* m_pOut;
    FILE* m_pErr;
    KwString m_strDataFolder;
};

} // namespace KwSDK

#endif
