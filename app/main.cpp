// The desktop program quillmark: creates the option set and the windows, then runs the event loop.
#include <QApplication>

#include "ui/program_icon.h"
#include "ui/program_windows.h"

namespace {

// Until the batch layer's profile and scheme operations are bound, the
// options window edits the option set in memory only.
class InMemoryCommands final : public qm::OptionsWindowCommands {
public:
    void openProfile() override { }
    void saveProfile() override { }
    void saveProfileAs() override { }
    void closeWindow() override { }
    void loadScheme(qm::TagList) override { }
    void saveScheme(qm::TagList) override { }
    void saveSchemeAs(qm::TagList) override { }
    void removeEntry(qm::TagList, std::size_t) override { }
    void checkPaths() override { }
    void saveLastOptions() override { }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(qm::kProgramName));
    QApplication::setApplicationVersion(QString::fromLatin1(qm::kVersionText));
    QApplication::setWindowIcon(qm::ProgramIcon());

    qm::TOptionSet options;
    InMemoryCommands commands;
    qm::ProgramWindows windows(options, commands, QApplication::applicationDirPath() + QStringLiteral("/help"));
    windows.main.show();
    return QApplication::exec();
}
