#include "app/arbolixapp.h"

#include "app/arbolixdlg.h"
#include "app/commandoption.h"

#include <QApplication>
#include <QFileInfo>

CArbolixApp theApp;

int CArbolixApp::Run(int argc, char** argv)
{
    // Taken before QApplication sees the vector: it would strip -style, -platform and the like.
    const std::string option = commandOption(argc, argv);
    const QString program = QFile::decodeName(argc > 0 && argv[0] ? argv[0] : "arbolix");

    int qtArgc = 1;
    QByteArray programName = QFile::encodeName(program);
    char* qtArgv[] = {programName.data(), nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setApplicationName(QFileInfo(program).completeBaseName());
    QApplication::setApplicationVersion(QStringLiteral(ARBOLIX_VERSION));

    InitInstance(option);
    return 0;
}

bool CArbolixApp::InitInstance(const std::string& cmdOption)
{
    auto dlg = std::make_unique<CArbolixDlg>();
    dlg->m_strCmdOption = cmdOption;
    dlg->doModal();
    dlg->ReleaseDirectory();
    dlg.reset();
    return false;
}
