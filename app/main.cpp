// The desktop program quillmark: finds its program folder, creates the windows over the logic, starts them with the
// command line.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <csignal>
#include <iostream>

#include "batch/startup/program_folder.h"
#include "batch/startup/startup.h"
#include "batch/startup/usage.h"
#include "batch/view/source_view.h"
#include "ui/desktop_program.h"
#include "ui/program_icon.h"
#include "ui/qt_text.h"

namespace {

// A developer option, never passed on to the program's command line:
// "--screenshot FILE" saves a picture of the main window once start-up and
// the command line are done, with the first row's text in the source view,
// and closes the program.
QString TakeScreenshotOption(QStringList& arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    if (at < 0 || at + 1 >= arguments.size()) return {};
    const QString file = arguments.at(at + 1);
    arguments.remove(at, 2);
    return file;
}

void SaveScreenshot(qm::DesktopProgram& program, const QString& file)
{
    qm::MainModel& model = program.model();
    if (!model.panel.empty()) {
        program.run([](qm::MainModel& m) {
            qm::HighlightRow(m, 0);
            qm::listFilesDblClick(m);
        });
    }
    QApplication::processEvents();
    const bool saved = program.windows().main.grab().save(file);
    if (!saved)
        qm::ShowMessage(model.ui, qm::MessageKind::Error, "The picture could not be saved to " + qm::FromQt(file));
    program.windows().main.close();
}

} // namespace

int main(int argc, char* argv[])
{
    // Before the application object: it needs a display, and a question about
    // the program must be answered on a terminal without one.
    if (std::optional<int> status =
            qm::AnswerInformationOptions(std::vector<std::string>(argv + 1, argv + argc), std::cout))
        return *status;
    // A page beyond the file size limit fails its write and is reported, instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(qm::kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(qm::kVersionText));
    QApplication::setWindowIcon(qm::ProgramIcon());

    QStringList arguments = QApplication::arguments().mid(1);
    const QString screenshot = TakeScreenshotOption(arguments);
    std::vector<std::string> commandLine;
    for (const QString& argument : arguments) commandLine.push_back(qm::FromQt(argument));

    qm::RealFileSystem fs;
    const qm::SettledProgramFolder folder = qm::SettleProgramFolder(
        fs, qm::ChooseProgramFolder(fs, qm::FromQt(QApplication::applicationDirPath()), qm::ProcessEnvironment()));

    qm::DesktopProgram program(fs, qm::ToQt(folder.folder) + QStringLiteral("help"));
    program.windows().main.show();
    // The settings sequence runs once the main window is on screen and the event loop turns,
    // so a run started by the command line shows its run window and can be interrupted.
    QTimer::singleShot(0, &program, [&] {
        if (!folder.filled)
            qm::ShowMessage(
                program.model().ui, qm::MessageKind::Error, "Error during program starting\r" + folder.filled.reason());
        program.start(folder.folder, commandLine);
        if (!screenshot.isEmpty()) SaveScreenshot(program, screenshot);
    });
    return QApplication::exec();
}
