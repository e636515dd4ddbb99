// carton-pack: builds and inspects installers. The entry only picks the command.
#include "CartonPackCommands.h"

#include <cstring>

int main(int argc, char** argv)
{
    KwSDK::CartonPackCommands commands(stdout, stderr);
    if (argc < 2)
        return commands.Usage("no command given");
    const char* command = argv[1];
    if (strcmp(command, "--help") == 0 || strcmp(command, "-h") == 0 ||
        strcmp(command, "help") == 0)
        return commands.Help();
    if (strcmp(command, "new") == 0)
        return commands.New(argc - 2, argv + 2);
    if (strcmp(command, "check") == 0)
        return commands.Check(argc - 2, argv + 2);
    if (strcmp(command, "create") == 0)
        return commands.Create(argc - 2, argv + 2);
    if (strcmp(command, "list") == 0)
        return commands.List(argc - 2, argv + 2);
    if (strcmp(command, "extract") == 0)
        return commands.Extract(argc - 2, argv + 2);
    if (strcmp(command, "verify") == 0)
        return commands.Verify(argc - 2, argv + 2);
    return commands.Usage("unknown command '%s'", command);
}
