// Programs the installer starts without waiting: the registry editor, the
// component registration tool, the Windows shell and the web browser.
#ifndef SETUP_SETUPPROCESSES_H
#define SETUP_SETUPPROCESSES_H

#include "KwString.h"

namespace KwSDK {

// Starts a process from a command line alone (the first word names the
// program, found through the search path), with the installer's environment
// and current folder. The installer neither waits for it nor keeps its
// handles. 1 when the process was started. With wait set (the unattended
// install) it waits for the program's end instead: 1 when it ended with 0.
int RunCommand(const KwString& commandLine, int wait = 0);

// The short form of an existing path (so that a command line needs no
// quotes around it); empty when the path does not exist.
KwString ShortPathOf(const KwString& path);

// The installed shell extension: target folder + "\Lumo\LumoShellEx.dll".
KwString ShellExtensionPath(const KwString& targetFolder);

// Starts "regsvr32.exe /s " on the short path of the installed shell
// extension. 0, and nothing started, when the library is not there.
// With wait set, as RunCommand.
int RegisterShellExtension(const KwString& targetFolder, int wait = 0);

// Ends every running shell, unregisters the installed shell extension so
// that its file can be replaced, and starts the shell again when one was
// ended. *shellRestarted is set to 1 when a shell process was ended and is
// never cleared here.
void ReleaseShellExtension(const KwString& targetFolder, int* shellRestarted);

// ReleaseShellExtension with the shell named: processes whose executable
// name equals processName ignoring case are ended, and shellProgram is
// opened again afterwards.
void ReleaseShellExtensionOf(const KwString& targetFolder, int* shellRestarted,
                             const char* processName, const char* shellProgram);

// Ends every process whose executable name equals name ignoring case, in the
// order the system lists them; answers how many were ended.
int EndProcessesNamed(const char* name);

// Opens a program through the shell's "open" verb, shown without being
// activated; 1 when the shell started it.
int OpenProgramInBackground(const char* program);

// Starts the Windows shell again ("EXPLORER.EXE").
int StartShell();

// Opens an address with "IEXPLORE.EXE"; 1 when the shell started it.
int OpenUrlInBrowser(const KwString& url);

// The product's web page on a host: "http://" + host + "/setup.jsp?pd=1". A
// host given with its scheme ("https://...") keeps it; a trailing slash is
// dropped. Empty for an empty host.
KwString ProductWebPageFor(const KwString& host);

// The product's web page on the host named by the configuration key
// "website"; empty when no host is configured.
KwString ProductWebPage();

// Opens the product's web page in the browser; 0, and no browser started,
// when no host is configured.
int OpenProductWebPage();

} // namespace KwSDK

#endif
