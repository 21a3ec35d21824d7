#include "app/cmainframe.h"

#include "app/caboutdlg.h"
#include "app/cdtdoc.h"
#include "app/commandids.h"
#include "app/commandtable.h"
#include "app/helplauncher.h"
#include "app/prompter.h"
#include "app/toolbaricons.h"
#include "files/cdocumentfiles.h"
#include "graph/cdtview.h"
#include "link/frame.h"
#include "panels/cdatalistpanel.h"
#include "panels/cdisplaypanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <ctime>

CMainFrame::CMainFrame(const Startup& startup, QWidget* parent)
    : QMainWindow(parent), m_config(startup.configPath), m_prompter(std::make_unique<Prompter>()) {
    setWindowTitle(QStringLiteral("Orvane"));
    setWindowIcon(programIcon());
    // 865 x 700 on the screen with a title bar and a thin fixed border; the
    // user cannot resize it.
    move(50, 20);
    setFixedSize(kClientSize);
    m_link.m_nComPort = m_config.comPort();

    // The serial component: fixed line settings, an event per 14 bytes, input
    // as bytes. The port opens only on On/Off.
    m_Comm.setParent(this);
    m_Comm.bindDevice(startup.boundDevice);
    m_Comm.setDeviceResolver(
        [this](int port) { return QString::fromStdString(m_config.comDevicePath(port)); });
    m_Comm.setCommPort(static_cast<short>(m_link.m_nComPort));
    m_Comm.setInputMode(1);
    m_Comm.setSettings(QStringLiteral("2400,n,8,1"));
    m_Comm.setRThreshold(kFrameSize);
    m_Comm.setInputLen(0);
    m_Comm.setInBufferCount(0);
    connect(&m_Comm, &CMSComm::OnComm, this, &CMainFrame::OnComm);
    connect(&m_Comm, &CMSComm::lineLost, this, &CMainFrame::onLineLost);

    m_pDoc = new CDTDoc(this);
    CDTView::Startup viewStartup;
    viewStartup.sampleRateIni = m_config.sampleRate();
    viewStartup.alarmHigh = m_config.alarmHigh();
    viewStartup.alarmLow = m_config.alarmLow();
    m_pView = new CDTView(*m_pDoc, m_link, viewStartup, this);
    setCentralWidget(m_pView);
    m_files = std::make_unique<CDocumentFiles>(this, *m_prompter, *m_pDoc, *m_pView->m_dlgList);

    buildCommands();
    connect(m_pDoc, &CDTDoc::viewsNeedUpdate, this, &CMainFrame::updateCommandUI);
    connect(&m_pDoc->m_recorder, &Recorder::recordingChanged, this, &CMainFrame::updateCommandUI);
    connect(&m_pDoc->m_recorder, &Recorder::storeFull, this, &CMainFrame::onStoreFull);
    connect(m_pView, &CDTView::hoverReadout, this,
            [this](const QString& time, const QString& temp) {
                m_pane1->setText(time);
                m_pane2->setText(temp);
            });
    updateCommandUI();
    qApp->installEventFilter(this);
    m_pView->OnInitialUpdate();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
}

void CMainFrame::setPrompter(std::unique_ptr<Prompter> prompter) {
    m_prompter = std::move(prompter);
    m_files = std::make_unique<CDocumentFiles>(this, *m_prompter, *m_pDoc, *m_pView->m_dlgList);
}

bool CMainFrame::saveRecording() {
    return m_files->save();
}

void CMainFrame::buildCommands() {
    for (const MenuPopup& popup : menuBarLayout()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(popup.title));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandUI);
        for (const MenuEntry& entry : popup.entries) {
            if (entry.id == 0) {
                menu->addSeparator();
                continue;
            }
            const CommandInfo* info = findCommand(entry.id);
            auto* act = new QAction(QString::fromLatin1(info->label), this);
            act->setStatusTip(QString::fromLatin1(info->prompt));
            act->setToolTip(QString::fromLatin1(info->tip));
            const int id = entry.id;
            connect(act, &QAction::triggered, this, [this, id] { runCommand(id); });
            menu->addAction(act);
            m_actions.insert(id, act);
        }
    }
    action(ID_FILE_PRINT)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));

    // The framework's document commands, reached only from the keyboard.
    const auto addShortcut = [this](QKeySequence keys, auto handler) {
        auto* act = new QAction(this);
        act->setShortcut(keys);
        act->setShortcutContext(Qt::WindowShortcut);
        connect(act, &QAction::triggered, this, handler);
        addAction(act);
    };
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), [this] { m_files->newDocument(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { m_files->openDocument(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this] {
        if (m_pDoc->store().recCount() != 0)
            m_files->saveDocument();
    });

    m_toolBar = addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName(QStringLiteral("Standard"));
    m_toolBar->setIconSize(kToolbarIconSize);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setFloatable(true);
    m_toolBar->setMovable(true);
    for (const int id : toolbarLayout()) {
        QAction* act = action(id);
        act->setIcon(toolbarIcon(id));
        m_toolBar->addAction(act);
        m_toolBar->addSeparator();
    }

    // Status bar: the prompt pane, two plain 150-pixel panes and SCRL.
    auto* ready = new QLabel(tr("Ready"));
    statusBar()->addWidget(ready, 1);
    m_pane1 = new QLabel;
    m_pane2 = new QLabel;
    m_pane3 = new QLabel(QStringLiteral("SCRL"));
    m_pane3->setEnabled(false); // Scroll Lock is not on
    for (QLabel* pane : {m_pane1, m_pane2}) {
        pane->setFixedWidth(150);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        statusBar()->addPermanentWidget(pane);
    }
    m_pane3->setFrameShape(QFrame::Panel);
    m_pane3->setFrameShadow(QFrame::Sunken);
    statusBar()->addPermanentWidget(m_pane3);
}

void CMainFrame::runCommand(int id) {
    switch (id) {
    case ID_SAVE:
        OnSave();
        break;
    case ID_OPEN:
        OnOpen();
        break;
    case ID_FILE_PRINT:
        OnPrint();
        break;
    case ID_APP_EXIT:
        close();
        break;
    case ID_SELECT_COM:
        OnSelectCom();
        break;
    case ID_ON_OFF:
        OnOnOff();
        break;
    case ID_UNDO_ZOOM:
        OnUndoZoom();
        break;
    case ID_CLEAR_SCREEN:
        OnClearScreen();
        break;
    case ID_CLEAR_ALL:
        OnClearAll();
        break;
    case ID_APP_ABOUT:
        OnAppAbout();
        break;
    case ID_HELP_CONTENTS:
        OnHelpContents();
        break;
    default:
        break;
    }
    updateCommandUI();
}

void CMainFrame::updateCommandUI() {
    const bool recorded = m_pDoc->store().recCount() != 0;
    action(ID_SAVE)->setEnabled(recorded);
    action(ID_FILE_PRINT)->setEnabled(recorded);
    action(ID_UNDO_ZOOM)->setEnabled(m_pView->isZoomed());
}

void CMainFrame::OnSave() {
    if (m_pDoc->store().recCount() != 0)
        saveRecording();
}

void CMainFrame::OnOpen() {
    m_files->open();
}

bool CMainFrame::openFile(const QString& path) {
    return m_files->load(path);
}

void CMainFrame::OnPrint() {
    if (m_pDoc->store().recCount() != 0)
        m_pView->printReport();
}

void CMainFrame::OnUndoZoom() {
    m_pView->undoZoom();
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

void CMainFrame::OnHelpContents() {
    QString error;
    if (!openHelp(&error))
        m_prompter->warning(this, error);
}

QRect CMainFrame::frameClientRect() const {
    const int top = menuBar()->isVisible() ? menuBar()->height() : 0;
    return QRect(0, top, width(), height() - top);
}

bool CMainFrame::confirmClose() {
    const Acquisition& acq = m_pDoc->acq();
    std::string error;
    if (!m_config.writeCloseValues(m_link.m_nComPort, acq.sampleRateToKeep(), m_pView->m_nAlarmHigh,
                                   m_pView->m_nAlarmLow, &error))
        m_prompter->warning(
            this, tr("The settings could not be kept.\n%1").arg(QString::fromStdString(error)));
    if (acq.store().recCount() > 1 &&
        m_prompter->askYesNo(this, QStringLiteral("Do you want to save? ")))
        return saveRecording();
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (confirmClose())
        event->accept();
    else
        event->ignore();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    m_pView->layoutPanels(frameClientRect());
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    m_pView->layoutPanels(frameClientRect());
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Shift)
            m_link.m_bShiftDown = type == QEvent::KeyPress;
        // Enter and Escape never close or trigger anything in this window's
        // panels (dialogs of their own keep them).
        auto* widget = qobject_cast<QWidget*>(watched);
        if (type == QEvent::KeyPress && widget && widget->window() == this &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
             key->key() == Qt::Key_Escape))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::OnSelectCom() {
    const bool shiftHeld = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    const bool tracked = m_link.m_bShiftDown;
    m_link.m_bShiftDown = tracked || shiftHeld;
    m_link.selectNextPort();
    m_link.m_bShiftDown = tracked;
    m_pView->m_dlgPanel->update(CDisplayPanel::portBox());
    m_pView->m_dlgPanel->update(CDisplayPanel::onlineBox());
    m_pView->m_dlgPanel->m_strPortPath = m_Comm.devicePath(m_link.m_nComPort);
}

void CMainFrame::OnOnOff() {
    Recorder& recorder = m_pDoc->m_recorder;
    const OnOffPlan plan = recorder.prepareOnOff();
    if (plan.updateViews)
        m_pDoc->UpdateAllViews();
    if (plan.askToSave) {
        // A full store is emptied so that recording can restart; when the user
        // wanted it saved and that did not happen, nothing is thrown away.
        if (m_prompter->askYesNo(this, QStringLiteral("Do you want to save? ")) && !saveRecording())
            return;
        recorder.resetStore();
    }

    if (m_link.m_bOnline) {
        if (m_Comm.portOpen())
            m_Comm.setPortOpen(false);
        m_link.m_bOnline = false;
    } else {
        connectPort();
    }
    m_pView->m_dlgPanel->update(CDisplayPanel::onlineBox());
}

void CMainFrame::connectPort() {
    if (m_Comm.portOpen())
        m_Comm.setPortOpen(false);
    m_Comm.setCommPort(static_cast<short>(m_link.m_nComPort));
    m_Comm.setInputMode(1);
    m_Comm.setInputLen(0);
    m_Comm.setInBufferCount(0);
    if (!m_Comm.setPortOpen(true)) {
        m_link.m_bOnline = false;
        m_prompter->warning(this, m_Comm.lastError());
        return;
    }
    // What arrived before the user switched on is not a reading of this run.
    m_Comm.setInBufferCount(0);
    m_Comm.input();
    m_pDoc->m_recorder.discardBuffered();
    m_Comm.setRThreshold(static_cast<short>(m_pDoc->m_recorder.bytesWanted()));
    m_link.m_bOnline = true;
}

void CMainFrame::onLineLost(const QString& reason) {
    m_link.m_bOnline = false;
    m_pView->m_dlgPanel->update(CDisplayPanel::onlineBox());
    statusBar()->showMessage(reason);
    m_prompter->warning(this,
                        reason + tr("\nThe recording is kept. Choose On/Off to connect again."));
}

void CMainFrame::OnClearScreen() {
    m_pDoc->m_recorder.clearScreen();
}

void CMainFrame::OnClearAll() {
    m_pDoc->m_recorder.clearAll();
}

void CMainFrame::OnComm() {
    if (m_Comm.commEvent() != CMSComm::comEvReceive) {
        m_Comm.setInBufferCount(0);
        return;
    }
    const QByteArray block = m_Comm.input();
    m_pDoc->m_recorder.receive(std::span(reinterpret_cast<const std::uint8_t*>(block.constData()),
                                         static_cast<std::size_t>(block.size())));
    // The next event comes when the frame being assembled can be complete.
    m_Comm.setRThreshold(static_cast<short>(m_pDoc->m_recorder.bytesWanted()));
}

void CMainFrame::onStoreFull() {
    if (m_Comm.portOpen())
        m_Comm.setPortOpen(false);
    m_link.m_bOnline = false;
    m_pView->m_dlgPanel->update();
    m_prompter->information(this,
                            QStringLiteral("You have got the max data number,please restart!"));
}
