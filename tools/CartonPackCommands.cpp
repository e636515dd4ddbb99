// carton-pack's commands. Each checks its inputs first and reports the first
// problem in one line, so that a script calling the tool sees why it failed.
#include "CartonPackCommands.h"

#include "CartonPackProgress.h"
#include "CartonPackTemp.h"
#include "CartonPackVerifier.h"
#include "KwCodePage.h"
#include "KwFile.h"
#include "KwFileStream.h"
#include "KwPackageExtractor.h"
#include "KwPackageReader.h"
#include "KwPackageWriter.h"

#include <cstdarg>
#include <cstring>

namespace KwSDK {

static const char kHelp[] =
    "usage: carton-pack COMMAND ...\n"
    "\n"
    "Builds and inspects installers: the Carton launcher with a package archive\n"
    "appended to it.\n"
    "\n"
    "  carton-pack create --stub LAUNCHER --run PROGRAM -o OUTPUT [--codepage N] SOURCE_DIR\n"
    "      Packs every file and folder under SOURCE_DIR behind a copy of LAUNCHER\n"
    "      and writes OUTPUT. PROGRAM, a path relative to SOURCE_DIR, is started\n"
    "      after extraction and must be one of its files. OUTPUT is replaced only\n"
    "      once the new package is complete and checked. Names are read in code\n"
    "      page N, the one of the systems that will run the package (936 unless\n"
    "      told): a double-byte character may end in the backslash byte.\n"
    "  carton-pack list FILE\n"
    "      Prints the program name and the table: type, size and path of each entry.\n"
    "  carton-pack extract FILE DIR\n"
    "      Extracts the package into DIR (created if it does not exist) exactly as\n"
    "      the launcher does.\n"
    "  carton-pack verify FILE\n"
    "      Decompresses everything and checks every size and the trailing offset.\n"
    "  carton-pack --help\n"
    "      Shows this text.\n"
    "\n"
    "Exit status: 0 on success, 1 when the command fails, 2 for a wrong command line.\n";

struct CartonPackCommands::CreateOptions {
    KwString stub;
    KwString run;
    KwString output;
    KwString source;
    int codePage = KwCodePage::kPackageDefault;
};

// A folder named with a trailing separator would put two in every path; a
// root ("/", "C:\") keeps its own.
static KwString WithoutTrailingSeparator(const char* path)
{
    KwString folder(path);
    int length = folder.GetLength();
    while (length > 1 && (path[length - 1] == '\\' || path[length - 1] == '/') &&
           path[length - 2] != ':') {
        --length;
    }
    return length == folder.GetLength() ? folder : KwString(path, length);
}

CartonPackCommands::CartonPackCommands(FILE* out, FILE* err) : m_pOut(out), m_pErr(err)
{
}

int CartonPackCommands::Error(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    fputs("carton-pack: ", m_pErr);
    vfprintf(m_pErr, format, arguments);
    fputc('\n', m_pErr);
    va_end(arguments);
    return kExitFailed;
}

int CartonPackCommands::Usage(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    fputs("carton-pack: ", m_pErr);
    vfprintf(m_pErr, format, arguments);
    fputs(" (see carton-pack --help)\n", m_pErr);
    va_end(arguments);
    return kExitUsage;
}

int CartonPackCommands::Help()
{
    fputs(kHelp, m_pOut);
    return kExitOk;
}

int CartonPackCommands::WantsHelp(int argc, char** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0)
            return 1;
    }
    return 0;
}

// Takes "--name VALUE" and "--name=VALUE"; answers 0 for a wrong command line.
static int TakeValue(const char* name, int argc, char** argv, int* index, KwString* value,
                     int* matched)
{
    const char* arg = argv[*index];
    size_t length = strlen(name);
    *matched = strncmp(arg, name, length) == 0 && (arg[length] == 0 || arg[length] == '=');
    if (!*matched)
        return 1;
    if (arg[length] == '=') {
        *value = arg + length + 1;
    } else {
        if (*index + 1 >= argc)
            return 0;
        *value = argv[++*index];
    }
    return value->GetLength() > 0;
}

// A code page is a number from 1 to 65535.
static int ParseCodePage(const KwString& text, int* codePage)
{
    const char* digits = text.GetText();
    long value = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (digits[i] < '0' || digits[i] > '9' || value > 65535)
            return 0;
        value = value * 10 + (digits[i] - '0');
    }
    if (value < 1 || value > 65535)
        return 0;
    *codePage = static_cast<int>(value);
    return 1;
}

int CartonPackCommands::ParseCreate(int argc, char** argv, CreateOptions* options)
{
    static const char* const kNames[] = {"--stub", "--run", "-o", "--output", "--codepage"};
    for (int i = 0; i < argc; ++i) {
        KwString codePage;
        KwString* targets[] = {&options->stub, &options->run, &options->output, &options->output,
                               &codePage};
        int matched = 0;
        for (int n = 0; n < 5 && !matched; ++n) {
            if (!TakeValue(kNames[n], argc, argv, &i, targets[n], &matched))
                return Usage("create: %s needs a value", kNames[n]);
        }
        if (codePage.GetLength() > 0 && !ParseCodePage(codePage, &options->codePage))
            return Usage("create: --codepage takes a number, not '%s'", codePage.GetText());
        if (matched)
            continue;
        if (argv[i][0] == '-' && argv[i][1] != 0)
            return Usage("create: unknown option '%s'", argv[i]);
        if (options->source.GetLength() > 0)
            return Usage("create: more than one source folder ('%s')", argv[i]);
        options->source = WithoutTrailingSeparator(argv[i]);
    }
    if (options->stub.GetLength() == 0)
        return Usage("create: --stub LAUNCHER is missing");
    if (options->run.GetLength() == 0)
        return Usage("create: --run PROGRAM is missing");
    if (options->output.GetLength() == 0)
        return Usage("create: -o OUTPUT is missing");
    if (options->source.GetLength() == 0)
        return Usage("create: SOURCE_DIR is missing");
    return kExitOk;
}

int CartonPackCommands::CheckCreateInputs(const CreateOptions& options)
{
    if (!KwFile(options.source).IsFolder())
        return Error("source folder not found: %s", options.source.GetText());
    KwFile stub(options.stub);
    if (!stub.IsFile() || !stub.CanRead())
        return Error("can not read launcher: %s", options.stub.GetText());
    KwFile output(options.output);
    if (output.IsFolder())
        return Error("output is a folder: %s", options.output.GetText());
    KwString folder = output.GetFolder();
    if (folder.GetLength() > 0 && !KwFile(folder).IsFolder())
        return Error("output folder not found: %s", folder.GetText());
    return kExitOk;
}

int CartonPackCommands::Create(int argc, char** argv)
{
    if (WantsHelp(argc, argv))
        return Help();
    CreateOptions options;
    int status = ParseCreate(argc, argv, &options);
    if (status == kExitOk)
        status = CheckCreateInputs(options);
    if (status != kExitOk)
        return status;
    // The package is built under a neighbouring name and renamed only when it
    // is complete and checked: a failed run never leaves a broken installer.
    KwString partial = options.output + ".part";
    status = BuildPackage(options, partial);
    if (status == kExitOk)
        status = ReplaceOutput(partial, options.output);
    KwFile leftover(partial);
    if (leftover.Exists())
        leftover.Delete();
    return status;
}

int CartonPackCommands::BuildPackage(const CreateOptions& options, const KwString& partial)
{
    KwPackageWriter writer;
    writer.SetCodePage(options.codePage);
    TKwList<FILENODE> table;
    KwString program;
    if (!writer.BuildTable(options.source, &table) ||
        !writer.ResolveProgram(&table, options.run, &program))
        return Error("%s: %s", writer.GetErrorMessage(writer.GetErrorCode()),
                     writer.GetErrorPath().GetText());
    KwString stream = CartonPackTemp::CreateFile("stream");
    if (stream.GetLength() == 0)
        return Error("can not create a scratch file in %s", CartonPackTemp::Folder().GetText());
    CartonPackProgress progress(m_pErr);
    writer.SetProgress(CartonPackProgress::Report, &progress);
    int written = writer.CompressContents(options.source, &table, stream);
    progress.Finish();
    if (written)
        written = writer.WritePackage(options.stub, program, &table, stream, partial);
    KwFile(stream).Delete();
    if (!written)
        return Error("%s: %s", writer.GetErrorMessage(writer.GetErrorCode()),
                     writer.GetErrorPath().GetText());
    CartonPackVerifier verifier;
    verifier.SetCodePage(options.codePage);
    if (!verifier.Verify(partial))
        return Error("the written package failed its check: %s", verifier.GetReason().GetText());
    fprintf(m_pOut, "%s: %d entries, %llu bytes of files, program %s\n", options.output.GetText(),
            table.GetCount(), verifier.GetFileBytes(), program.GetText());
    return kExitOk;
}

// Renaming fails when the target exists on every platform, so an old
// installer is removed just before the new one takes its name.
int CartonPackCommands::ReplaceOutput(const KwString& partial, const KwString& output)
{
    KwFile old(output);
    if (old.Exists() && !old.Delete())
        return Error("can not replace %s", output.GetText());
    if (!KwFile(partial).RenameTo(output))
        return Error("can not rename %s to %s", partial.GetText(), output.GetText());
    return kExitOk;
}

void CartonPackCommands::PrintTable(const KwString& program, TKwList<FILENODE>* table)
{
    fprintf(m_pOut, "program: %s\n", program.GetText() ? program.GetText() : "");
    fprintf(m_pOut, "entries: %d\n", table->GetCount());
    for (int more = table->MoveFirst(); more; more = table->MoveNext()) {
        const FILENODE* node = table->GetAt();
        char type[16];
        if (node->type == FILENODE_FILE)
            snprintf(type, sizeof type, "file");
        else if (node->type == FILENODE_FOLDER)
            snprintf(type, sizeof type, "folder");
        else
            snprintf(type, sizeof type, "type %u", static_cast<unsigned int>(node->type));
        fprintf(m_pOut, "%-10s %10u  %s\n", type, static_cast<unsigned int>(node->size),
                node->name.GetText() ? node->name.GetText() : "");
    }
}

int CartonPackCommands::List(int argc, char** argv)
{
    if (WantsHelp(argc, argv))
        return Help();
    if (argc != 1)
        return Usage("list takes one FILE");
    KwFileStream source;
    if (!KwFile(argv[0]).IsFile() || !source.Open(argv[0], KW_MODE_READ))
        return Error("can not read %s", argv[0]);
    KwPackageReader reader;
    if (!reader.ReadHeader(&source))
        return Error("%s: %s", argv[0],
                     reader.GetErrorCode() == KW_PACKAGE_BAD_TABLE ? "package table is damaged"
                                                                   : "not a package archive");
    PrintTable(reader.GetProgramName(), reader.GetTable());
    return kExitOk;
}

int CartonPackCommands::Extract(int argc, char** argv)
{
    if (WantsHelp(argc, argv))
        return Help();
    if (argc != 2)
        return Usage("extract takes FILE and DIR");
    KwString file(argv[0]);
    KwString folder = WithoutTrailingSeparator(argv[1]);
    if (!KwFile(file).IsFile())
        return Error("can not read %s", file.GetText());
    KwFile target(folder);
    if (!target.IsFolder() && (target.Exists() || !target.MakeFolder()))
        return Error("can not create folder %s", folder.GetText());
    // The scratch file lives outside DIR, so that no entry can share its name.
    KwString scratch = CartonPackTemp::CreateFile("extract");
    if (scratch.GetLength() == 0)
        return Error("can not create a scratch file in %s", CartonPackTemp::Folder().GetText());
    KwPackageExtractor extractor;
    KwString program = extractor.Extract(file, folder, scratch);
    KwFile(scratch).Delete();
    unsigned int code = extractor.GetErrorCode();
    if (code == KW_EXTRACT_OPEN_SOURCE)
        return Error("can not read %s", file.GetText());
    if (code != 0)
        return Error("%s: %s (%d extracted, %d not extracted)", file.GetText(),
                     extractor.GetErrorMessage(code), extractor.GetExtractedCount(),
                     extractor.GetSkippedCount());
    fprintf(m_pOut, "%s: %d entries extracted into %s, program %s\n", file.GetText(),
            extractor.GetExtractedCount(), folder.GetText(), program.GetText());
    return kExitOk;
}

int CartonPackCommands::Verify(int argc, char** argv)
{
    if (WantsHelp(argc, argv))
        return Help();
    if (argc != 1)
        return Usage("verify takes one FILE");
    if (!KwFile(argv[0]).IsFile())
        return Error("can not read %s", argv[0]);
    CartonPackVerifier verifier;
    if (!verifier.Verify(KwString(argv[0])))
        return Error("%s: %s", argv[0], verifier.GetReason().GetText());
    fprintf(m_pOut, "%s: OK, %d entries, %llu bytes of files\n", argv[0],
            verifier.GetEntryCount(), verifier.GetFileBytes());
    return kExitOk;
}

} // namespace KwSDK
