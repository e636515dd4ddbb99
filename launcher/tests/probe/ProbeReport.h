// The probe's report: the environment variables that steer it, the keys of
// the properties file it writes, and the folder listing, shared by the probe
// and the end-to-end tests that read its reports.
#ifndef CARTON_PROBE_REPORT_H
#define CARTON_PROBE_REPORT_H

#include "KwFile.h"
#include "KwParam.h"
#include "KwString.h"
#include "TKwList.h"

namespace KwSDK {
namespace ProbeReport {

// Where the report goes; outside the temporary folder, so it outlives the
// launcher's clean-up. Without it the probe exits with kNoReportExit.
const char kReportVariable[] = "CARTON_PROBE_REPORT";
// Milliseconds to stay alive after the first report; the probe then lists
// its folder again and rewrites the report with the later listing added.
const char kHoldVariable[] = "CARTON_PROBE_HOLD";
const int kNoReportExit = 3;
// The exit code the probe ends with after writing its report (0 without it).
const char kExitVariable[] = "CARTON_PROBE_EXIT";

const char kCommandLine[] = "CommandLine";
const char kArgumentCount[] = "ArgumentCount";
// Each argument as the run-time library split it: "Argument1", "Argument2"...
const char kArgumentPrefix[] = "Argument";
const char kCurrentFolder[] = "CurrentFolder";
const char kModulePath[] = "ModulePath";
const char kTempPath[] = "TempPath";
const char kHeld[] = "Held";
// Prefixes of the listing keys, each followed by the entry's path relative to
// the probe's folder with a leading backslash.
const char kEntryPrefix[] = "Entry:";
const char kLaterPrefix[] = "Later:";

// Adds every entry below folder, recursively, as prefix + relative path =
// "file <size>" or "folder".
inline void AddListing(KwParam* report, const char* prefix, const KwString& folder, const KwString& relative)
{
    TKwList<KwFile*> children;
    KwFile(folder).ListFiles(&children);
    for (int more = children.MoveFirst(); more; more = children.MoveNext()) {
        KwFile* child = *children.GetAt();
        KwString path = relative + "\\" + child->GetName();
        if (child->IsFolder()) {
            report->SetString(KwString(prefix) + path, "folder");
            AddListing(report, prefix, child->GetPath(), path);
        } else {
            KwString size;
            size.Format("file %u", child->GetLength());
            report->SetString(KwString(prefix) + path, size);
        }
        child->Release();
    }
}

// The listing entries of a report that carry the prefix, with the prefix
// removed, in key order.
inline KwParam ListingOf(KwParam& report, const char* prefix)
{
    KwParam listing;
    KwString wanted(prefix);
    for (int more = report.MoveFirst(); more; more = report.MoveNext()) {
        KwString key = report.GetKey();
        if (key.GetLength() > wanted.GetLength() && key.Find(prefix) == 0)
            listing.SetString(key.Mid(wanted.GetLength(), -1), report.GetValue());
    }
    return listing;
}

} // namespace ProbeReport
} // namespace KwSDK

#endif
