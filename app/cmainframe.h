#pragma once

#include "app/configuration.h"
#include "link/cmscomm.h"
#include "link/linkstate.h"

#include <QMainWindow>

#include <filesystem>
#include <memory>

class CDTDoc;
class CDocumentFiles;
class CDTView;
class Prompter;

// The main window: owns the serial component and the link state, decodes what
// the instrument sends, and carries out the commands.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    struct Startup {
        std::filesystem::path configPath = configFilePath();
        QString boundDevice; // --device: every port number opens this path
    };

    explicit CMainFrame(const Startup& startup, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Replaces the message boxes (tests answer them without a click).
    void setPrompter(std::unique_ptr<Prompter> prompter);
    Prompter& prompter() { return *m_prompter; }

    Configuration m_config;
    CMSComm m_Comm;
    LinkState m_link;
    CDTDoc* m_pDoc = nullptr;
    CDTView* m_pView = nullptr;
    std::unique_ptr<CDocumentFiles> m_files;

    // Commands.
    void OnSelectCom();
    void OnOnOff();
    void OnClearScreen();
    void OnClearAll();
    // Save: true when the recording was written.
    bool saveRecording();

    // The serial component's receive event.
    void OnComm();

    // The client rectangle the panels are laid out in (below the menu bar).
    QRect frameClientRect() const;

    // The close sequence: writes the settings back and offers to save. False
    // when the window must stay open (a save was wanted but did not happen).
    bool confirmClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectPort();
    void onLineLost(const QString& reason);
    void buildMenus();

    std::unique_ptr<Prompter> m_prompter;
};
