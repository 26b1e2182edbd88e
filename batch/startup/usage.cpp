// The desktop program's usage text and its information options.
#include "batch/startup/usage.h"

#include "base/version.h"

namespace qm {

const char* const kDesktopUsage =
    "usage: quillmark [FILE...] [/COMMAND[=VALUE]...]\n"
    "The desktop program of Quillmark, which makes web pages smaller (qmk is the headless command).\n"
    "A FILE given by its path is dropped on the file panel: a web page joins it, a list file (*.lst) replaces it.\n"
    "COMMANDS, carried out in their order (a minus sign works in place of the slash):\n"
    "  /cl          clear the file panel\n"
    "  /ps=NAME     load the profile NAME from the program folder's Profiles\n"
    "  /f=FILE      add a web page;  /fl=FILE  load a list file\n"
    "  /fo=FOLDER   add the folder's pages (embedded folders as the options say)\n"
    "  /foe=FOLDER  the same, without embedded folders when a maximum level is set\n"
    "  /op=FOLDER   leave the pages unchanged, write optimized copies into FOLDER\n"
    "  /bup=FOLDER  modify the pages, backup copies into FOLDER;  /bu=y  make backups (other values: none)\n"
    "  /ow=y        an unattended run overwrites files in its way (other values: it skips them)\n"
    "  /ca          check every row;  /opt  Optimize!\n"
    "  /nc          press the run window's Start;  /nr  its Close;  /nw  hide it and minimise\n"
    "  /m, /r       minimise, restore;  /q  quit once the commands are done\n"
    "  nores        show no results for the next run\n"
    "With /q or /nc the commands run unattended: no question waits for an answer, files in the way are\n"
    "skipped (or overwritten with /ow=y), and messages go to standard error.\n"
    "OPTIONS:\n"
    "  -h, --help   show this text and exit\n"
    "  --version    show the version and exit\n";

std::optional<int> AnswerInformationOptions(const std::vector<std::string>& arguments, std::ostream& out)
{
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            out << kDesktopUsage;
            return 0;
        }
        if (argument == "--version") {
            out << "quillmark " << kVersionText << "\n";
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace qm
