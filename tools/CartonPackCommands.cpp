// carton-pack's commands. Each checks its inputs first and reports the first
// problem in one line, so that a script calling the tool sees why it failed.
#include "CartonPackCommands.h"

#include "CartonPackCodePage.h"
#include "CartonPackProgress.h"
#include "CartonPackBranding.h"
#include "CartonPackTemp.h"
#include "CartonPackVerifier.h"
#include "CartonPackageCheck.h"
#include "KwFile.h"
#include "KwFileStream.h"
#include "KwPackageExtractor.h"
#include "KwPackageReader.h"
#include "KwPackageWriter.h"
#include "KwPlatformFile.h"
#include "KwProperties.h"

#include <cstdarg>
#include <cstring>

namespace KwSDK {

static const char kHelp[] =
    "usage: carton-pack COMMAND ...\n"
    "\n"
    "Builds and inspects installers: the Carton launcher with a package archive\n"
    "appended to it.\n"
    "\n"
    "  carton-pack new DIR\n"
    "      Makes a starting package in DIR (new or empty) from the installed\n"
    "      template, with the installed Setup.exe: edit it, then check and create.\n"
    "  carton-pack check [--codepage N] [--run PROGRAM] DIR\n"
    "      Checks the package folder DIR as the wizard will read it and names every\n"
    "      problem: properties files and keys, licences, pictures and their sizes,\n"
    "      the program to run (Setup.exe unless --run), setup.reg and its\n"
    "      placeholder, the product's program in the payload, and names and texts\n"
    "      that are not text of code page N (936 unless --codepage).\n"
    "  carton-pack create [--stub LAUNCHER] --run PROGRAM -o OUTPUT [--no-check]\n"
    "                     [--codepage N] SOURCE_DIR\n"
    "      Packs every file and folder under SOURCE_DIR behind a copy of LAUNCHER\n"
    "      (the installed Carton.exe unless --stub) and writes OUTPUT. PROGRAM, a\n"
    "      path relative to SOURCE_DIR, is started after extraction and must be one\n"
    "      of its files. SOURCE_DIR is checked as by check first, and nothing is\n"
    "      packed while it has problems (--no-check packs any folder). OUTPUT is\n"
    "      replaced only once the new package is complete and checked.\n"
    "  carton-pack list FILE\n"
    "      Prints the program name and the table: type, size and path of each entry.\n"
    "  carton-pack extract FILE DIR\n"
    "      Extracts the package into DIR (created if it does not exist) exactly as\n"
    "      the launcher does.\n"
    "  carton-pack verify FILE\n"
    "      Decompresses everything and checks every size and the trailing offset.\n"
    "\n"
    "The vendor's marks (options of create): the installer shows the launcher's\n"
    "icon and version unless these replace them:\n"
    "  --icon FILE.ico    every image of the icon file becomes the program icon\n"
    "  --version A.B.C.D  the version resource, with --product NAME,\n"
    "                     --company NAME and --description TEXT (these need --version)\n"
    "create's output is ready for signing (checksum set, no signature); list,\n"
    "extract and verify read signed installers too.\n"
    "\n"
    "  carton-pack --help\n"
    "      Shows this text.\n"
    "\n"
    "Exit status: 0 on success, 1 when the command fails or the package has\n"
    "problems, 2 for a wrong command line.\n";

struct CartonPackCommands::CreateOptions {
    CartonPackBranding branding;
    KwString stub;
    KwString run;
    KwString output;
    KwString source;
    KwString codePage;
    int check = 1;
};

static const char kLauncherName[] = "Carton.exe";
static const char kWizardName[] = "Setup.exe";
static const char kUninstallerName[] = "uninstall.exe";
static const char kTemplateName[] = "template";

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

// A path of the data folder as the user types it: with '/' on the host.
static KwString Shown(const KwString& path)
{
    return Platform::NativePath(path.GetText());
}

CartonPackCommands::CartonPackCommands(FILE* out, FILE* err) : m_pOut(out), m_pErr(err)
{
}

void CartonPackCommands::SetDataFolder(const KwString& folder)
{
    m_strDataFolder = folder;
}

// The program sits in <prefix>\bin (or a build folder's tools folder), its
// data in <prefix>\share\carton.
KwString CartonPackCommands::GetDataFolder() const
{
    if (m_strDataFolder.GetLength() > 0)
        return m_strDataFolder;
    KwString program = Platform::ModulePath();
    if (program.GetLength() == 0)
        return KwString("share\\carton");
    KwString bin = KwFile(program).GetFolder();
    return KwFile(bin).GetFolder() + "\\share\\carton";
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

int CartonPackCommands::ParseCreate(int argc, char** argv, CreateOptions* options)
{
    static const char* const kNames[] = {"--stub", "--run", "-o", "--output", "--codepage"};
    for (int i = 0; i < argc; ++i) {
        KwString* targets[] = {&options->stub, &options->run, &options->output, &options->output,
                               &options->codePage};
        int matched = 0;
        for (int n = 0; n < 5 && !matched; ++n) {
            if (!TakeValue(kNames[n], argc, argv, &i, targets[n], &matched))
                return Usage("create: %s needs a value", kNames[n]);
        }
        int branded = matched ? 0 : options->branding.TakeOption(argc, argv, &i);
        if (branded < 0)
            return Usage("create: %s needs a value", options->branding.GetMissingOption());
        if (matched || branded)
            continue;
        if (strcmp(argv[i], "--no-check") == 0) {
            options->check = 0;
            continue;
        }
        if (argv[i][0] == '-' && argv[i][1] != 0)
            return Usage("create: unknown option '%s'", argv[i]);
        if (options->source.GetLength() > 0)
            return Usage("create: more than one source folder ('%s')", argv[i]);
        options->source = WithoutTrailingSeparator(argv[i]);
    }
    if (options->stub.GetLength() == 0) {
        KwString installed = GetDataFolder() + "\\" + kLauncherName;
        if (!KwFile(installed).IsFile())
            return Usage("create: --stub LAUNCHER is missing and there is no installed %s",
                         Shown(installed).GetText());
        options->stub = installed;
    }
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
    CartonPackBranding branding = options.branding;
    if (!branding.CheckValues())
        return Error("%s", branding.GetReason().GetText());
    return kExitOk;
}

int CartonPackCommands::Create(int argc, char** argv)
{
    if (WantsHelp(argc, argv))
        return Help();
    CreateOptions options;
    int status = ParseCreate(argc, argv, &options);
    unsigned int codePage = CartonPackageCheck::kDefaultCodePage;
    if (status == kExitOk && options.codePage.GetLength() > 0)
        status = ParseCodePage("create", options.codePage, &codePage);
    if (status == kExitOk)
        status = CheckCreateInputs(options);
    if (status == kExitOk && options.check)
        status = CheckPackage(options.source, options.run, codePage,
                              "nothing was packed (--no-check packs it anyway)");
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
    TKwList<FILENODE> table;
    KwString program;
    if (!writer.BuildTable(options.source, &table) ||
        !writer.ResolveProgram(&table, options.run, &program))
        return Error("%s: %s", writer.GetErrorMessage(writer.GetErrorCode()),
                     writer.GetErrorPath().GetText());
    // The launcher copy with the vendor's marks and without a signature.
    CartonPackBranding branding = options.branding;
    KwString stub = CartonPackTemp::CreateFile("stub");
    if (stub.GetLength() == 0 || !branding.PrepareStub(options.stub, stub)) {
        KwFile(stub).Delete();
        return Error("%s", stub.GetLength() == 0 ? "can not create a scratch file" : branding.GetReason().GetText());
    }
    KwString stream = CartonPackTemp::CreateFile("stream");
    if (stream.GetLength() == 0) {
        KwFile(stub).Delete();
        return Error("can not create a scratch file in %s", CartonPackTemp::Folder().GetText());
    }
    CartonPackProgress progress(m_pErr);
    writer.SetProgress(CartonPackProgress::Report, &progress);
    int written = writer.CompressContents(options.source, &table, stream);
    progress.Finish();
    if (written)
        written = writer.WritePackage(stub, program, &table, stream, partial);
    KwFile(stream).Delete();
    KwFile(stub).Delete();
    if (!written)
        return Error("%s: %s", writer.GetErrorMessage(writer.GetErrorCode()),
                     writer.GetErrorPath().GetText());
    if (!branding.FinishPackage(partial))
        return Error("%s", branding.GetReason().GetText());
    CartonPackVerifier verifier;
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

int CartonPackCommands::ParseCodePage(const char* command, const KwString& text,
                                      unsigned int* codePage)
{
    unsigned int value = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        char digit = text.GetText()[i];
        if (digit < '0' || digit > '9' || value > 65535)
            return Usage("%s: --codepage takes a code page number, not '%s'", command,
                         text.GetText());
        value = value * 10 + static_cast<unsigned int>(digit - '0');
    }
    if (value == 0 || value > 65535 || !CartonPackCodePage::IsKnown(value))
        return Usage("%s: code page %s is not known on this system", command, text.GetText());
    *codePage = value;
    return kExitOk;
}

// Runs the package check and prints one line per problem, then a summary
// line that ends with the refusal.
int CartonPackCommands::CheckPackage(const KwString& folder, const KwString& program,
                                     unsigned int codePage, const char* refusal)
{
    CartonPackageCheck check;
    check.SetCodePage(codePage);
    check.SetProgram(program);
    int count = check.Check(folder);
    if (count == 0)
        return kExitOk;
    TKwList<KwString>* problems = check.GetProblems();
    for (int more = problems->MoveFirst(); more; more = problems->MoveNext())
        fprintf(m_pErr, "carton-pack: %s\n", problems->GetAt()->GetText());
    return Error("%s: %d problem%s; %s", folder.GetText(), count, count == 1 ? "" : "s",
                 refusal);
}

int CartonPackCommands::Check(int argc, char** argv)
{
    if (WantsHelp(argc, argv))
        return Help();
    KwString folder;
    KwString program(kWizardName);
    KwString codePageText;
    for (int i = 0; i < argc; ++i) {
        int matched = 0;
        if (!TakeValue("--codepage", argc, argv, &i, &codePageText, &matched))
            return Usage("check: --codepage needs a value");
        if (!matched && !TakeValue("--run", argc, argv, &i, &program, &matched))
            return Usage("check: --run needs a value");
        if (matched)
            continue;
        if (argv[i][0] == '-' && argv[i][1] != 0)
            return Usage("check: unknown option '%s'", argv[i]);
        if (folder.GetLength() > 0)
            return Usage("check takes one DIR");
        folder = WithoutTrailingSeparator(argv[i]);
    }
    if (folder.GetLength() == 0)
        return Usage("check takes one DIR");
    unsigned int codePage = CartonPackageCheck::kDefaultCodePage;
    if (codePageText.GetLength() > 0 && ParseCodePage("check", codePageText, &codePage) != kExitOk)
        return kExitUsage;
    if (!KwFile(folder).IsFolder())
        return Error("package folder not found: %s", folder.GetText());
    int status = CheckPackage(folder, program, codePage, "fix them before packing");
    if (status == kExitOk)
        fprintf(m_pOut, "%s: ready to pack (code page %u)\n", folder.GetText(), codePage);
    return status;
}

int CartonPackCommands::CopyFile(const KwString& from, const KwString& to)
{
    KwFileStream in;
    KwFileStream out;
    if (!in.Open(from, KW_MODE_READ) || !out.Open(to, KW_MODE_WRITE))
        return 0;
    char buffer[16384];
    int ok = 1;
    int got;
    while (ok && (got = in.Read(buffer, sizeof buffer)) > 0)
        ok = out.Write(buffer, got) == got;
    in.Close();
    return out.Close() == 1 && ok;
}

// Copies the folder's contents into an existing folder, depth first.
int CartonPackCommands::CopyTree(const KwString& from, const KwString& to)
{
    TKwList<KwString> names;
    if (!KwFile(from).ListNames(&names))
        return 0;
    for (int more = names.MoveFirst(); more; more = names.MoveNext()) {
        KwFile entry(*names.GetAt());
        KwString source = entry.GetPath();
        KwString target = to + "\\" + entry.GetName();
        if (entry.IsFolder()) {
            if (!KwFile(target).MakeFolder() || !CopyTree(source, target))
                return 0;
        } else if (!CopyFile(source, target)) {
            return 0;
        }
    }
    return 1;
}

// The wizard goes beside the properties files; the uninstaller into the
// product folder that the template's properties name.
void CartonPackCommands::CopyInstalledPrograms(const KwString& target)
{
    KwString data = GetDataFolder();
    KwString wizard = data + "\\" + kWizardName;
    if (KwFile(wizard).IsFile() && CopyFile(wizard, target + "\\" + kWizardName))
        fprintf(m_pOut, "copied the wizard %s\n", Shown(wizard).GetText());
    else
        fprintf(m_pOut, "note: no wizard at %s; copy %s into %s before packing\n",
                Shown(wizard).GetText(), kWizardName, target.GetText());
    KwString uninstaller = data + "\\" + kUninstallerName;
    KwProperties properties;
    if (!KwFile(uninstaller).IsFile() ||
        !properties.LoadFile(target + "\\setup_en.properties"))
        return;
    KwString product = target + "\\" + properties.GetString("productfold", "") + "\\" +
                       properties.GetString("sub_dir", "");
    KwString name = properties.GetString("uninstall_app", kUninstallerName);
    if (KwFile(product).IsFolder() && CopyFile(uninstaller, product + "\\" + name))
        fprintf(m_pOut, "copied the uninstaller %s\n", Shown(uninstaller).GetText());
}

int CartonPackCommands::New(int argc, char** argv)
{
    if (WantsHelp(argc, argv))
        return Help();
    if (argc != 1 || (argv[0][0] == '-' && argv[0][1] != 0))
        return Usage("new takes one DIR");
    KwString target = WithoutTrailingSeparator(argv[0]);
    KwString templateFolder = GetDataFolder() + "\\" + kTemplateName;
    if (!KwFile(templateFolder).IsFolder())
        return Error("no package template at %s (is carton-pack installed?)",
                     Shown(templateFolder).GetText());
    KwFile folder(target);
    TKwList<KwString> names;
    if (folder.IsFolder()) {
        if (!folder.ListNames(&names) || names.GetCount() > 0)
            return Error("%s is not empty; new makes a package in a new or empty folder",
                         target.GetText());
    } else if (folder.Exists() || !folder.MakeFolder()) {
        return Error("can not create folder %s", target.GetText());
    }
    if (!CopyTree(templateFolder, target)) {
        // A half-copied package would only confuse the next run.
        KwFile(target).DeleteTree();
        return Error("can not copy the template %s into %s", Shown(templateFolder).GetText(),
                     target.GetText());
    }
    CopyInstalledPrograms(target);
    fprintf(m_pOut,
            "%s: new package from %s\n"
            "next: edit both properties files, the licences, the pictures and setup.reg,\n"
            "put your product into its payload folder, then run carton-pack check %s\n",
            target.GetText(), Shown(templateFolder).GetText(), target.GetText());
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
