#include "app/arbolixapp.h"

#include "app/arbolixdlg.h"
#include "app/commandoption.h"
#include "app/directoryrelease.h"
#include "app/platformstart.h"
#include "app/terminationsignals.h"
#include "app/windowdestroywatch.h"
#include "res/translations.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>

CArbolixApp theApp;

namespace {

// Ends the main window's run as Exit does. A popup (the context menu) or a modal box over it (a
// message, the About box) has a run of its own that would keep the program waiting for the
// operator, so they go first, the innermost first; so does a drag, which would wait for the
// button to be released. A population or a refresh that runs stops at its next library call;
// the close request is held until then.
void endLikeExit(CArbolixDlg& main)
{
    main.EndListing();
    if (main.m_tree)
        main.m_tree->cancelDrag();
    constexpr int kMaxNestedWindows = 16;
    for (int i = 0; i < kMaxNestedWindows; ++i) {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            continue;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == &main)
            break;
        if (auto* box = qobject_cast<QDialog*>(modal))
            box->reject();
        else
            modal->close();
    }
    main.close();
}

} // namespace

int CArbolixApp::Run(int argc, char** argv)
{
    // Taken before QApplication sees the vector: it would strip -style, -platform and the like.
    const std::string option = commandOption(argc, argv);
    // A write to a pipe whose reader has gone (standard error of a finished pipeline) fails
    // instead of ending the program before it has released the directory.
    std::signal(SIGPIPE, SIG_IGN);
    const QString program = QFile::decodeName(argc > 0 && argv[0] ? argv[0] : "arbolix");

    int qtArgc = 1;
    QByteArray programName = QFile::encodeName(program);
    char* qtArgv[] = {programName.data(), nullptr};
    PlatformStart platformStart; // no platform that can start: one line and status 1
    QApplication application(qtArgc, qtArgv);
    platformStart.started();
    QApplication::setApplicationName(QFileInfo(program).completeBaseName());
    QApplication::setApplicationVersion(QStringLiteral(ARBOLIX_VERSION));
    // In the operator's language where the program has it; English (the texts as written) else.
    QTranslator translation;
    QTranslator qtTranslation;
    res::installTranslations(translation, qtTranslation, QLocale::system().uiLanguages());

    InitInstance(option);
    return 0;
}

bool CArbolixApp::InitInstance(const std::string& cmdOption)
{
    auto dlg = std::make_unique<CArbolixDlg>();
    dlg->m_strCmdOption = cmdOption;
    // Also when the toolkit ends the process itself, as it does when the display goes away.
    DirectoryRelease release(*dlg);
    // SIGTERM, SIGINT and SIGHUP end the run like Exit, so the directory is still released.
    const TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, dlg.get(),
                     [main = dlg.get()] { endLikeExit(*main); });
    // So does the window destroyed by another client, which leaves nothing to operate.
    const WindowDestroyWatch destroyWatch(*dlg);
    // Taken note of at once, so that a listing under way stops before its next library call.
    QObject::connect(&destroyWatch, &WindowDestroyWatch::windowDestroyed, dlg.get(),
                     [main = dlg.get()] { main->EndListing(); });
    QObject::connect(
        &destroyWatch, &WindowDestroyWatch::windowDestroyed, dlg.get(),
        [main = dlg.get()] { endLikeExit(*main); }, Qt::QueuedConnection);
    dlg->doModal();
    release.release(); // the window's ReleaseDirectory
    dlg.reset();
    return false;
}
