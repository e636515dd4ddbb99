// The registry script's text work, free of any system call: reading it line
// by line and filling the install folder into its placeholder. Portable, so
// that the host builds can test and fuzz it.
#ifndef SETUP_SETUPREGISTRYSCRIPT_H
#define SETUP_SETUPREGISTRYSCRIPT_H

#include "IKwIOStream.h"
#include "KwString.h"

namespace KwSDK {

// Reads the next line with its line end (a last line without one is read
// whole). 0 at the end of the stream or when reading fails.
int ReadScriptLine(IKwIOStream* stream, KwString& line);

// A folder as the registry script writes it: every backslash doubled.
KwString EscapeRegistryPath(const KwString& folder);

// Copies source into expanded line by line, every occurrence of placeholder
// replaced by the target folder with doubled backslashes (an empty
// placeholder replaces nothing); every other byte is copied unchanged.
// 1 when the whole script was copied, 0 when a write or a replacement failed.
int ExpandRegistryLines(IKwIOStream* source, IKwIOStream* expanded, const KwString& placeholder,
                        const KwString& targetFolder);

} // namespace KwSDK

#endif
