#pragma once

#include "core/config/configuration.h"
#include "core/store/alarmstate.h"
#include "engine/instrumentline.h"
#include "ui/window/messageline.h"
#include "ui/window/scrolllock.h"

#include <QHash>
#include <QMainWindow>

#include <array>
#include <filesystem>
#include <memory>

class CDTDoc;
class DesktopNotifier;
class DocumentFiles;
class CDTView;
class RecordingViewer;
class WindowPublisher;
class Prompter;
class QAction;
class QLabel;
class QToolBar;

// The main window: lays out the panels around the graph, carries out the
// commands, and tells what happens on the line to the instrument (an
// InstrumentLine, which owns the port and hands what arrives to the recorder).
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    struct Startup {
        std::filesystem::path configPath = configFilePath();
        QString boundDevice; // --device: every port number opens this path
        // The bound device is the built-in simulated instrument: the window
        // says so wherever a real one would show.
        bool simulated = false;
    };

    // The window's own area (menu bar included) of an 865 x 700 window: the
    // size it opens at the first time, and its smallest.
    static constexpr QSize kClientSize{859, 671};

    explicit CMainFrame(const Startup& startup, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Replaces the message boxes (tests answer them without a click).
    void setPrompter(std::unique_ptr<Prompter> prompter);
    // Alarm notifications go through `notifier` (a test's own bus) instead of
    // the session bus.
    void setDesktopNotifier(std::unique_ptr<DesktopNotifier> notifier);
    // The alarm sound played on entering high or low (alarm.wav beside the
    // program unless set).
    void setAlarmSoundFile(const QString& path) { m_strAlarmSound = path; }
    Prompter& prompter() { return *m_prompter; }
    // Tools > Publish... and what it publishes.
    WindowPublisher& publisher() { return *m_publisher; }

    // What the window is made of.
    CDTDoc& doc() const { return *m_pDoc; }
    CDTView& view() const { return *m_pView; }
    DocumentFiles& files() const { return *m_files; }
    const Configuration& config() const { return m_config; }
    // The line to the instrument: the port On/Off opens, and its state.
    const InstrumentLine& line() const { return *m_line; }

    // Commands.
    void OnSelectCom();
    void OnOnOff();
    void OnClearScreen();
    void OnClearAll();
    // Continue in a New File, on or off: a full recording is saved into the
    // chosen folder and recording goes on. The folder is asked for the first
    // time it is turned on; cancelling leaves it off.
    void OnContinueInNewFile();
    // Save: true when the recording was written.
    bool saveRecording();

    void OnSave();
    void OnOpen();
    void OnViewRecordings();
    void OnExportCsv();
    void OnPrint();
    void OnUndoZoom();
    void OnAppAbout();
    void OnHelpContents();

    // Journals the recording at `path` from now on. A recording found there
    // that was not saved is offered for restoring first.
    void openJournal(const std::filesystem::path& path);

    // Opens a data file named on the command line, as Open does.
    bool openFile(const QString& path);
    // A recording viewer of its own for these files and folders, with the
    // graph's alarm limits.
    RecordingViewer* viewRecordings(const QStringList& named);

    // The client rectangle the panels are laid out in (below the menu bar).
    QRect frameClientRect() const;

    QAction* action(int id) const { return m_actions.value(id); }
    QToolBar* toolBar() const { return m_toolBar; }
    // The status bar's panes from the left (0..3): the prompt, the hover
    // readout's time and temperature, and the Scroll Lock indicator.
    QLabel* pane(int index) const {
        return std::array{m_pane0, m_pane1, m_pane2, m_pane3}.at(static_cast<std::size_t>(index));
    }
    // The message line between the instrument panel and the graph.
    const MessageLine& messageLine() const { return *m_messageLine; }
    // Shows the prompt of `hovered` in pane 0, or "Ready" for none.
    void showPrompt(QAction* hovered);
    // "SCRL" in pane 3 while Scroll Lock is on.
    void updateIndicators();

    // The close sequence: writes the settings back and offers to save samples
    // not saved yet. False when the window must stay open (a save was wanted
    // but did not happen).
    bool confirmClose();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectPort();
    void onLineState(LineState state);
    // The message of a line open on another port than Select COM chose.
    void tellPendingPort();
    void onLineLost(const QString& reason);
    void onReconnected();
    // Pane 0's text while no command is under the pointer: a short form of
    // the line's state.
    void setIdleText(const QString& text);
    // The message line: the whole message of a topic until it is no longer true.
    void showMessage(MessageTopic topic, const QString& text, MessageLevel level);
    void clearMessage(MessageTopic topic);
    // Lays the panels out for the window's size, and the message line.
    void layoutPanels();
    // Places the message line below the instrument panel.
    void placeMessageLine();
    // The graph is laid out below the message line while it shows.
    void giveMessageLineRoom();
    void onStoreFull();
    // Continue in a New File: writes the full store and empties it; false
    // when it could not be written (reported).
    bool continueInNewFile();
    // The line closed: no silence to tell.
    void clearSilence();
    // A committed reading changed the alarm state.
    void onAlarmChanged(const AlarmChange& change);
    // The alarm on the message line, or none for a normal state.
    void showAlarm(const AlarmChange& change);
    void onAlarmLimitsChanged(const AlarmLimits& limits);
    // Tools > Alarm Notifications and Tools > Alarm Sound were switched.
    void keepAlarmNotices();
    // A warning box when the configuration file could not be written.
    void warnIfNotKept(const Result<>& kept);
    void buildCommands();
    // Save, Export and Print are enabled while there are samples.
    void updateRecordingCommands();
    void runCommand(int id);

    Configuration m_config;
    QSize m_sizeKept; // the window's size, not maximised, at start
    CDTDoc* m_pDoc = nullptr;
    CDTView* m_pView = nullptr;
    std::unique_ptr<DocumentFiles> m_files;
    QHash<int, QAction*> m_actions;
    QString m_strIdleText = tr("Ready"); // pane 0 with no command under the pointer
    QToolBar* m_toolBar = nullptr;
    QLabel* m_pane0 = nullptr;
    QLabel* m_pane1 = nullptr;
    QLabel* m_pane2 = nullptr;
    QLabel* m_pane3 = nullptr;
    MessageLine* m_messageLine = nullptr;
    // The message line's place: below the instrument panel (its bottom is at
    // 188), clear of the value scroll bar and the data list on the right.
    static constexpr int kMessageLineTop = 192;
    static constexpr int kMessageLineRight = 312;
    static constexpr int kMessageLineMargin = 6;
    static constexpr int kMessageLineGap = 3; // between the line and the graph
    // Says when the keyboard's indicators change (the platform reports no change).
    ScrollLockWatch m_scrollLock;

    std::unique_ptr<Prompter> m_prompter;
    std::unique_ptr<InstrumentLine> m_line;
    bool m_bWritingChainFile = false;
    std::unique_ptr<DesktopNotifier> m_notifier; // made at the first alarm
    QString m_strAlarmSound;
    AlarmChange m_alarm; // the last change of the alarm state
    std::unique_ptr<WindowPublisher> m_publisher;
};
