#include "ui/window/cmainframe.h"

#include "core/config/serialdevices.h"
#include "core/journal/journalslots.h"
#include "core/link/frame.h"
#include "core/store/alarmstate.h"
#include "core/text/valuetext.h"
#include "ui/base/cdtdoc.h"
#include "ui/base/prompter.h"
#include "ui/files/documentfiles.h"
#include "ui/graph/cdtview.h"
#include "ui/panels/cdisplaypanel.h"
#include "ui/panels/datalistpanel.h"
#include "ui/viewer/recordingviewer.h"
#include "ui/window/aboutdialog.h"
#include "ui/window/alarmsound.h"
#include "ui/window/commandids.h"
#include "ui/window/commandtable.h"
#include "ui/window/desktopnotifier.h"
#include "ui/window/helplauncher.h"
#include "ui/window/scrolllock.h"
#include "ui/window/toolbaricons.h"
#include "ui/window/windowpublisher.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QSizeGrip>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <ctime>

namespace {

// A reason from the system, ended as a sentence before more is said.
QString asSentence(const QString& reason) {
    return reason.endsWith(QLatin1Char('.')) ? reason : reason + QLatin1Char('.');
}

} // namespace

CMainFrame::CMainFrame(const Startup& startup, QWidget* parent)
    : QMainWindow(parent), m_config(startup.configPath), m_prompter(std::make_unique<Prompter>()) {
    setWindowTitle(startup.simulated ? tr("Orvane (simulated instrument)")
                                     : QStringLiteral("Orvane"));
    setWindowIcon(programIcon());
    // 865 x 700 on the screen with a title bar and a thin border, or the size
    // it had when it was last closed; never smaller. Made larger, the graph
    // and the data list take the room.
    move(50, 20);
    setMinimumSize(kClientSize);
    const Configuration::WindowPlacement kept = m_config.windowPlacement();
    m_sizeKept = QSize(kept.width, kept.height).expandedTo(kClientSize);
    resize(m_sizeKept);
    if (kept.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);

    m_pDoc = new CDTDoc(this);
    m_pDoc->recorder().setAlarmLimits(m_config.alarmHigh(), m_config.alarmLow());
    m_pDoc->recorder().setAlarmDeadband(m_config.alarmDeadband());
    // The line: the port opens only on On/Off.
    m_line = std::make_unique<InstrumentLine>(m_pDoc->recorder());
    m_line->bindDevice(startup.boundDevice);
    m_line->setDeviceResolver(
        [this](int port) { return QString::fromStdString(m_config.comDevicePath(port)); });
    m_line->setPort(startComPort(m_config));
    CDTView::Startup viewStartup;
    viewStartup.sampleRateIni = m_config.sampleRate();
    m_pView = new CDTView(*m_pDoc, *m_line, viewStartup, this);
    connect(m_line.get(), &InstrumentLine::stateChanged, this, &CMainFrame::onLineState);
    connect(m_line.get(), &InstrumentLine::portChanged, this, &CMainFrame::tellPendingPort);
    connect(m_line.get(), &InstrumentLine::lost, this, &CMainFrame::onLineLost);
    connect(m_line.get(), &InstrumentLine::reconnected, this, &CMainFrame::onReconnected);
    connect(m_line.get(), &InstrumentLine::shared, this, [this](const QString& reason) {
        showMessage(MessageTopic::Line, reason, MessageLevel::Warning);
    });
    connect(m_line.get(), &InstrumentLine::reconnectFailed, this, [this](const QString& reason) {
        showMessage(MessageTopic::Line,
                    asSentence(reason) + tr(" Still waiting (On/Off stops waiting)."),
                    MessageLevel::Warning);
    });
    connect(m_line.get(), &InstrumentLine::silenceBegan, this, [this] {
        const QString text = m_line->silenceText();
        setIdleText(text);
        showMessage(MessageTopic::Silence, text, MessageLevel::Warning);
    });
    connect(m_line.get(), &InstrumentLine::readingsBack, this, [this] {
        setIdleText(tr("Readings from %1 again.").arg(m_line->devicePath()));
        clearMessage(MessageTopic::Silence);
    });
    connect(m_line.get(), &InstrumentLine::journalFailed, this, [this](const QString& reason) {
        showMessage(MessageTopic::Journal,
                    tr("The recording journal cannot be written: %1. Recording goes on in memory.")
                        .arg(reason),
                    MessageLevel::Warning);
    });
    setCentralWidget(m_pView);
    m_messageLine = new MessageLine(this);
    connect(m_messageLine, &MessageLine::laidOut, this, &CMainFrame::giveMessageLineRoom);
    m_files =
        std::make_unique<DocumentFiles>(this, *m_prompter, *m_pDoc, *m_pView->dataList(), m_config);

    buildCommands();
    if (startup.simulated) {
        m_pView->displayPanel()->setSimulated(true);
        showMessage(MessageTopic::Simulator,
                    tr("Readings are simulated: no instrument is connected."),
                    MessageLevel::Information);
    }
    // The commands follow what they depend on as it changes: the recording
    // (Save, Export, Print) and the zoom (Undo Zoom).
    connect(&m_pDoc->recorder(), &Recorder::recordingChanged, this,
            &CMainFrame::updateRecordingCommands);
    connect(m_pView, &CDTView::zoomChanged, action(ID_UNDO_ZOOM), &QAction::setEnabled);
    connect(&m_pDoc->recorder(), &Recorder::storeFull, this, &CMainFrame::onStoreFull);
    QAction* chain = action(ID_CONTINUE_NEW_FILE);
    chain->setCheckable(true);
    chain->setChecked(m_config.continueInNewFile() && !m_config.newFileFolder().empty());
    m_pDoc->recorder().setContinueIntoNextFile(chain->isChecked());
    connect(&m_pDoc->recorder(), &Recorder::alarmChanged, this, &CMainFrame::onAlarmChanged);
    connect(&m_pDoc->recorder(), &Recorder::alarmLimitsChanged, this,
            &CMainFrame::onAlarmLimitsChanged);
    connect(m_pView, &CDTView::limitsTyped, this, [this](bool exchanged) {
        const AlarmLimits limits = m_pDoc->recorder().alarmLimits();
        if (exchanged)
            showMessage(MessageTopic::Limits,
                        tr("AlarmHI %1 is below Lo %2: they are taken the other way round, "
                           "high %2 and low %1.")
                            .arg(limits.low)
                            .arg(limits.high),
                        MessageLevel::Information);
        else
            clearMessage(MessageTopic::Limits);
    });
    m_publisher = std::make_unique<WindowPublisher>(m_pDoc->recorder(), m_config.path());
    connect(m_publisher.get(), &WindowPublisher::brokerMessage, this, [this](const QString& text) {
        showMessage(MessageTopic::Broker, text, MessageLevel::Warning);
    });
    connect(m_publisher.get(), &WindowPublisher::brokerMessageCleared, this,
            [this] { clearMessage(MessageTopic::Broker); });
    connect(m_publisher.get(), &WindowPublisher::settingsNotKept, this, [this](const QString& why) {
        setIdleText(tr("The setting could not be kept: %1").arg(why));
    });
    connect(m_pView, &CDTView::hoverReadout, this,
            [this](const QString& time, const QString& temp) {
                m_pane1->setText(time);
                m_pane2->setText(temp);
            });
    updateRecordingCommands();
    action(ID_UNDO_ZOOM)->setEnabled(m_pView->isZoomed());
    qApp->installEventFilter(this);
    // No control has the keyboard until the user chooses one (Tab, a click):
    // a key typed at start changes no limit and no sample rate, and no caret
    // blinks in an idle window.
    setFocus(Qt::OtherFocusReason);
    m_pView->OnInitialUpdate();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
}

void CMainFrame::setPrompter(std::unique_ptr<Prompter> prompter) {
    m_prompter = std::move(prompter);
    m_files =
        std::make_unique<DocumentFiles>(this, *m_prompter, *m_pDoc, *m_pView->dataList(), m_config);
}

void CMainFrame::setDesktopNotifier(std::unique_ptr<DesktopNotifier> notifier) {
    m_notifier = std::move(notifier);
}

bool CMainFrame::saveRecording() {
    return m_files->save();
}

void CMainFrame::buildCommands() {
    for (const MenuPopup& popup : menuBarLayout()) {
        QMenu* menu = menuBar()->addMenu(commandText(popup.title));
        connect(menu, &QMenu::hovered, this, &CMainFrame::showPrompt);
        connect(menu, &QMenu::aboutToHide, this, [this] { showPrompt(nullptr); });
        for (const MenuEntry& entry : popup.entries) {
            if (entry.id == 0) {
                menu->addSeparator();
                continue;
            }
            const CommandInfo* info = findCommand(entry.id);
            auto* act = new QAction(commandText(info->label), this);
            act->setStatusTip(commandText(info->prompt));
            act->setToolTip(commandText(info->tip));
            act->setShortcut(QKeySequence(QString::fromLatin1(commandShortcut(entry.id))));
            act->setShortcutContext(Qt::WindowShortcut);
            const int id = entry.id;
            connect(act, &QAction::triggered, this, [this, id] { runCommand(id); });
            menu->addAction(act);
            m_actions.insert(id, act);
        }
    }
    // The alarm notices are switches kept in the configuration file.
    for (const int id : {ID_ALARM_NOTIFICATIONS, ID_ALARM_SOUND})
        action(id)->setCheckable(true);
    action(ID_ALARM_NOTIFICATIONS)->setChecked(m_config.alarmNotifications());
    action(ID_ALARM_SOUND)->setChecked(m_config.alarmSound());
    // So is following the readings with the graph's value window.
    action(ID_FOLLOW_READINGS)->setCheckable(true);
    action(ID_FOLLOW_READINGS)->setChecked(m_config.followReadings());
    m_pView->setFollowReadings(m_config.followReadings());

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
    // The arrow that shows the buttons a short toolbar has no room for.
    if (auto* more = m_toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(tr("More buttons"));

    // Status bar: the prompt pane, two plain panes for the hover readout and
    // the Scroll Lock indicator, from the left; the first three 150 pixels wide.
    m_pane0 = new QLabel;
    m_pane1 = new QLabel;
    m_pane2 = new QLabel;
    m_pane3 = new QLabel;
    // A pane's text is its accessible name (a screen reader reads what it
    // shows); the description says what the pane is.
    m_pane0->setAccessibleDescription(tr("Status"));
    m_pane1->setAccessibleDescription(tr("Time under the pointer"));
    m_pane2->setAccessibleDescription(tr("Temperature under the pointer"));
    m_pane3->setAccessibleDescription(tr("Scroll Lock"));
    for (QLabel* pane : {m_pane0, m_pane1, m_pane2, m_pane3}) {
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        if (pane != m_pane3)
            pane->setFixedWidth(150);
        statusBar()->addWidget(pane);
    }
    if (auto* grip = statusBar()->findChild<QSizeGrip*>())
        grip->setAccessibleName(tr("Resize the window"));
    m_pane3->setMinimumWidth(m_pane3->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) +
                             2 * m_pane3->frameWidth() + 6);
    showPrompt(nullptr);
    updateIndicators();
    connect(&m_scrollLock, &ScrollLockWatch::changed, this, &CMainFrame::updateIndicators);
}

void CMainFrame::showPrompt(QAction* hovered) {
    // Pane 0 shows the prompt of the command under the pointer, nothing for a
    // command without one, and "Ready" when no command is.
    m_pane0->setText(hovered ? hovered->statusTip() : m_strIdleText);
}

void CMainFrame::updateIndicators() {
    m_pane3->setText(scrollLockOn() ? QStringLiteral("SCRL") : QString());
}

bool CMainFrame::event(QEvent* event) {
    // The prompts come from the commands themselves (showPrompt); the
    // widgets' own status tips would write "Ready" over an empty one.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void CMainFrame::runCommand(int id) {
    switch (id) {
    case ID_SAVE:
        OnSave();
        break;
    case ID_OPEN:
        OnOpen();
        break;
    case ID_EXPORT_CSV:
        OnExportCsv();
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
    case ID_CONTINUE_NEW_FILE:
        OnContinueInNewFile();
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
    case ID_ALARM_NOTIFICATIONS:
    case ID_ALARM_SOUND:
        keepAlarmNotices();
        break;
    case ID_FOLLOW_READINGS:
        m_pView->setFollowReadings(action(ID_FOLLOW_READINGS)->isChecked());
        warnIfNotKept(m_config.writeFollowReadings(action(ID_FOLLOW_READINGS)->isChecked()));
        break;
    case ID_PUBLISH:
        m_publisher->configure(this);
        break;
    case ID_VIEW_RECORDINGS:
        OnViewRecordings();
        break;
    default:
        break;
    }
}

void CMainFrame::updateRecordingCommands() {
    const bool recorded = m_pDoc->store().recCount() != 0;
    action(ID_SAVE)->setEnabled(recorded);
    action(ID_EXPORT_CSV)->setEnabled(recorded);
    action(ID_FILE_PRINT)->setEnabled(recorded);
}

void CMainFrame::OnSave() {
    if (m_pDoc->store().recCount() != 0)
        saveRecording();
}

void CMainFrame::OnExportCsv() {
    if (m_pDoc->store().recCount() != 0)
        m_files->exportCsv();
}

void CMainFrame::OnOpen() {
    m_files->open();
}

bool CMainFrame::openFile(const QString& path) {
    // A recording restored from the journal at start-up is offered for saving
    // first, as Open does.
    return m_files->offerToSave() && m_files->load(path);
}

void CMainFrame::OnPrint() {
    if (m_pDoc->store().recCount() != 0)
        m_pView->printReport();
}

void CMainFrame::OnUndoZoom() {
    m_pView->undoZoom();
}

void CMainFrame::OnAppAbout() {
    AboutDialog dlg(this);
    dlg.exec();
}

void CMainFrame::OnHelpContents() {
    if (const Result<void, QString> opened =
            openHelp(this, [this](const QString& message) { m_prompter->warning(this, message); });
        !opened)
        m_prompter->warning(this, opened.error());
}

QRect CMainFrame::frameClientRect() const {
    const int top = menuBar()->isVisible() ? menuBar()->height() : 0;
    return QRect(0, top, width(), height() - top);
}

bool CMainFrame::confirmClose() {
    const Acquisition& acq = m_pDoc->acq();
    const AlarmLimits limits = m_pDoc->recorder().alarmLimits();
    Result<> kept =
        m_config.writeCloseValues(m_line->port(), acq.sampleRateToKeep(), limits.high, limits.low);
    // Maximised, the window keeps the size it comes back to.
    const bool maximized = isMaximized();
    QSize normal = maximized ? normalGeometry().size() : size();
    if (normal.isEmpty())
        normal = m_sizeKept;
    if (kept)
        kept = m_config.writeWindowPlacement({normal.width(), normal.height(), maximized});
    warnIfNotKept(kept);
    return m_files->offerToSave();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!confirmClose()) {
        event->ignore();
        return;
    }
    // Saved, or declined: nothing is left to restore.
    m_line->closeJournal(true);
    event->accept();
}

void CMainFrame::openJournal(const std::filesystem::path& path) {
    // Every unsaved recording found is offered, one after the other, until
    // one is restored.
    const JournalTaken taken = m_line->openJournal(path, [this](const RecordingJournal& found) {
        // Only what was not saved counts: the samples and the time they span.
        const JournalRecording& r = found.found().recording;
        const int unsaved = r.unsavedCount();
        const auto firstUnsaved = static_cast<std::size_t>(r.savedCount);
        QString question = tr("An unsaved recording of %1 (%2 \u2013 %3) was found. Restore it?")
                               .arg(unsaved == 1 ? tr("1 sample") : tr("%1 samples").arg(unsaved))
                               .arg(QString::fromStdString(r.timeTexts[firstUnsaved]),
                                    QString::fromStdString(r.timeTexts.back()));
        if (found.found().damaged())
            question +=
                QStringLiteral("\n\n") + QString::fromStdString(journalDamageText(found.found()));
        return m_prompter->askYesNo(this, question);
    });
    if (!m_line->journalled())
        showMessage(MessageTopic::Journal,
                    tr("No recording journal (%1); recording goes on in memory.")
                        .arg(QString::fromStdString(taken.error)),
                    MessageLevel::Warning);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutPanels();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    layoutPanels();
}

void CMainFrame::layoutPanels() {
    m_pView->layoutPanels(frameClientRect(), height() - kClientSize.height());
    placeMessageLine();
}

void CMainFrame::giveMessageLineRoom() {
    const QRect line = m_messageLine->geometry();
    const int free = m_messageLine->isEmpty()
                         ? 0
                         : line.top() + line.height() + kMessageLineGap - m_pView->geometry().top();
    m_pView->setFirstFreeRow(free);
}

void CMainFrame::placeMessageLine() {
    // Below the instrument panel, as wide as the space left of the value
    // scroll bar; the graph moves down to make room for it.
    const QRect rc = frameClientRect();
    m_messageLine->place(QPoint(rc.left() + kMessageLineMargin, rc.top() + kMessageLineTop),
                         rc.width() - kMessageLineRight - 2 * kMessageLineMargin);
}

void CMainFrame::showMessage(MessageTopic topic, const QString& text, MessageLevel level) {
    m_messageLine->showMessage(topic, text, level);
}

void CMainFrame::clearMessage(MessageTopic topic) {
    m_messageLine->clearMessage(topic);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_ScrollLock && type == QEvent::KeyRelease)
            updateIndicators();
        // Enter and Escape never close or trigger anything in this window's
        // panels (dialogs of their own keep them). The menu bar keeps them:
        // they open the menu picked from the keyboard, and leave the bar.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (type == QEvent::KeyPress && widget && widget->window() == this &&
            !qobject_cast<QMenuBar*>(widget) &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
             key->key() == Qt::Key_Escape))
            return true;
    }
    if (type == QEvent::Move && watched == m_pView)
        giveMessageLineRoom(); // the toolbar went to another side
    if (type == QEvent::Enter || type == QEvent::Leave) {
        // The toolbar's buttons show their command's prompt while the pointer
        // is over them.
        const auto* button = qobject_cast<QToolButton*>(watched);
        if (button && button->parentWidget() == m_toolBar && button->defaultAction())
            showPrompt(type == QEvent::Enter ? button->defaultAction() : nullptr);
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::OnSelectCom() {
    // Shift as it is now: a release in another window never reaches this one.
    const bool down = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    m_line->setPort(nextComPort(m_line->port(), down));
}

void CMainFrame::tellPendingPort() {
    // An open line stays on its device until On/Off.
    if (m_line->portPending())
        showMessage(MessageTopic::Port,
                    tr("Recording goes on from COM %1; On/Off moves to COM %2.")
                        .arg(m_line->openPort())
                        .arg(m_line->port()),
                    MessageLevel::Information);
    else
        clearMessage(MessageTopic::Port);
}

void CMainFrame::OnOnOff() {
    Recorder& recorder = m_pDoc->recorder();
    const OnOffPlan plan = recorder.prepareOnOff();
    if (plan.updateViews)
        m_pDoc->UpdateAllViews();
    if (plan.askToSave) {
        // A full store is emptied so that recording can restart; when the user
        // wanted it saved and that did not happen, nothing is thrown away.
        if (m_prompter->askYesNo(this, tr("Do you want to save? ")) && !saveRecording())
            return;
        recorder.resetStore();
    }

    // Whatever was said about the line is no longer true.
    clearMessage(MessageTopic::Line);
    setIdleText(tr("Ready"));
    if (m_line->state() != LineState::Closed && !m_line->portPending()) {
        // Off; while a lost device is waited for, On/Off stops waiting.
        m_line->close();
    } else {
        // On, or over to the port Select COM chose.
        connectPort();
    }
}

void CMainFrame::connectPort() {
    const auto opened = m_line->open();
    if (!opened) {
        const std::string advice = connectAdviceFor(
            opened.error().failure, m_line->devicePath().toStdString(), m_config.profile());
        m_prompter->warning(this, opened.error().message + QStringLiteral("\n\n") +
                                      QString::fromStdString(advice));
    }
}

void CMainFrame::onLineState(LineState state) {
    // The panel follows the line by itself; what is said of it is the window's.
    tellPendingPort();
    if (state != LineState::Online)
        clearSilence();
    if (state == LineState::Online)
        m_publisher->lineOpened();
    else if (state == LineState::Lost)
        m_publisher->lineLost();
}

void CMainFrame::onLineLost(const QString& reason) {
    // An unattended recording must not stop at a box nobody answers: the line
    // waits for the same device to come back.
    showMessage(
        MessageTopic::Line,
        asSentence(reason) +
            tr(" Waiting for %1 to come back (On/Off stops waiting).").arg(m_line->devicePath()),
        MessageLevel::Warning);
    setIdleText(tr("Waiting for COM %1").arg(m_line->openPort()));
}

void CMainFrame::onReconnected() {
    showMessage(MessageTopic::Line, tr("Connected to %1 again.").arg(m_line->devicePath()),
                MessageLevel::Information);
    setIdleText(tr("Ready"));
}

void CMainFrame::setIdleText(const QString& text) {
    m_strIdleText = text;
    showPrompt(nullptr);
    // A text longer than the pane shows is whole under the pointer.
    m_pane0->setToolTip(text == tr("Ready") ? QString() : text);
}

void CMainFrame::OnClearScreen() {
    m_pDoc->recorder().clearScreen();
}

void CMainFrame::OnClearAll() {
    // Samples not yet saved are offered for saving first; when a wanted save
    // did not happen, nothing is thrown away.
    if (!m_files->offerToSave())
        return;
    m_pDoc->recorder().clearAll();
}

void CMainFrame::keepAlarmNotices() {
    warnIfNotKept(m_config.writeAlarmNotices(action(ID_ALARM_NOTIFICATIONS)->isChecked(),
                                             action(ID_ALARM_SOUND)->isChecked()));
}

void CMainFrame::warnIfNotKept(const Result<>& kept) {
    if (!kept)
        m_prompter->warning(
            this,
            tr("The settings could not be kept.\n%1").arg(QString::fromStdString(kept.error())));
}

namespace {

QString alarmTime(const AlarmChange& change) {
    return QDateTime::fromSecsSinceEpoch(change.time).toString(QStringLiteral("HH:mm:ss"));
}

QString alarmTitleText(AlarmLevel level) {
    switch (level) {
    case AlarmLevel::High:
        return CMainFrame::tr("Above the high alarm limit");
    case AlarmLevel::Low:
        return CMainFrame::tr("Below the low alarm limit");
    case AlarmLevel::Normal:
        break;
    }
    return CMainFrame::tr("Back within the alarm limits");
}

// "152.5 °C at 14:03:51 (limit 150 °C)"
QString alarmDetailText(const AlarmChange& change) {
    return CMainFrame::tr("%1 %2 at %3 (limit %4 %2)")
        .arg(QString::fromStdString(valueText(change.value)),
             QStringLiteral("\u00b0") + QString::fromStdString(change.unit), alarmTime(change),
             QString::number(change.limit));
}

} // namespace

void CMainFrame::showAlarm(const AlarmChange& change) {
    // The message line tells the state for as long as it lasts.
    m_alarm = change;
    if (change.level == AlarmLevel::Normal) {
        clearMessage(MessageTopic::Alarm);
        return;
    }
    showMessage(MessageTopic::Alarm,
                alarmTitleText(change.level) + QStringLiteral(": ") + alarmDetailText(change),
                MessageLevel::Error);
}

void CMainFrame::onAlarmLimitsChanged(const AlarmLimits& limits) {
    // An alarm still told names the limit it is against now.
    AlarmChange told = m_alarm;
    told.limit = told.level == AlarmLevel::High ? limits.high : limits.low;
    if (told.level != AlarmLevel::Normal && told.limit != m_alarm.limit)
        showAlarm(told);
}

void CMainFrame::onAlarmChanged(const AlarmChange& change) {
    const QString title = alarmTitleText(change.level);
    const QString detail = alarmDetailText(change);
    const bool beyond = change.level != AlarmLevel::Normal;
    showAlarm(change);

    if (action(ID_ALARM_NOTIFICATIONS)->isChecked()) {
        if (!m_notifier)
            m_notifier = std::make_unique<DesktopNotifier>();
        m_notifier->notify(title, detail,
                           beyond ? DesktopNotifier::Urgency::Critical
                                  : DesktopNotifier::Urgency::Normal);
    }
    if (!isActiveWindow())
        QApplication::alert(this);
    if (beyond && action(ID_ALARM_SOUND)->isChecked())
        playAlarmSound(m_strAlarmSound.isEmpty()
                           ? alarmSoundBeside(QCoreApplication::applicationFilePath())
                           : m_strAlarmSound);
}

void CMainFrame::onStoreFull() {
    if (m_bWritingChainFile)
        return; // a box about the failed write is up
    const bool chained = m_pDoc->recorder().continuesIntoNextFile();
    if (chained && continueInNewFile())
        return;
    m_line->close();
    clearMessage(MessageTopic::Line);
    // A chain file that could not be written was reported already.
    if (!chained)
        m_prompter->information(this, tr("You have got the max data number,please restart!"));
}

bool CMainFrame::continueInNewFile() {
    // Frames arriving meanwhile wait in the serial buffer: they go into the
    // emptied store. The journal keeps the full one until it is written.
    m_bWritingChainFile = true;
    const QString written = m_files->saveInto(QString::fromStdString(m_config.newFileFolder()));
    m_bWritingChainFile = false;
    if (written.isEmpty())
        return false;
    m_pDoc->recorder().startNextFile();
    const QString text = tr("Wrote %1; recording goes on in a new file.").arg(written);
    setIdleText(text);
    showMessage(MessageTopic::File, text, MessageLevel::Information);
    return true;
}

void CMainFrame::clearSilence() {
    clearMessage(MessageTopic::Silence); // the line is closed: nothing to wait for
}

void CMainFrame::OnContinueInNewFile() {
    Recorder& recorder = m_pDoc->recorder();
    bool on = !recorder.continuesIntoNextFile();
    QString folder = QString::fromStdString(m_config.newFileFolder());
    if (on && (folder.isEmpty() || !QFileInfo(folder).isDir())) {
        // Asked the first time (or when the folder is gone), starting where
        // Save last wrote.
        QString start = QString::fromStdString(m_config.lastFolder());
        if (start.isEmpty() || !QFileInfo(start).isDir())
            start = QDir::homePath();
        folder = m_prompter->folderName(this, tr("Folder for the new files"), start);
        on = !folder.isEmpty();
        if (!on)
            folder = QString::fromStdString(m_config.newFileFolder());
    }
    recorder.setContinueIntoNextFile(on);
    action(ID_CONTINUE_NEW_FILE)->setChecked(on);
    if (const Result<> kept = m_config.writeContinueInNewFile(on, folder.toStdString()); !kept)
        setIdleText(
            tr("The setting could not be kept: %1").arg(QString::fromStdString(kept.error())));
}

void CMainFrame::OnViewRecordings() {
    const QStringList files = QFileDialog::getOpenFileNames(
        this, tr("View Recordings"), QString::fromStdString(m_config.lastFolder()),
        tr("Recordings (*.DovDat *.dovdat *.csv *.CSV);;All files (*)"));
    if (!files.isEmpty())
        viewRecordings(files);
}

RecordingViewer* CMainFrame::viewRecordings(const QStringList& named) {
    RecordingViewer::Startup startup;
    startup.configPath = m_config.path();
    startup.alarmHigh = m_pDoc->recorder().alarmLimits().high;
    startup.alarmLow = m_pDoc->recorder().alarmLimits().low;
    startup.prompter = m_prompter.get();
    auto* viewer = new RecordingViewer(startup, this);
    viewer->show();
    viewer->open(named);
    return viewer;
}
