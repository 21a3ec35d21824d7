#include "sim/ptyinstrument.h"

#include "core/link/frameencoder.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPort>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Bytes held in the pseudo-terminal's input beyond this mean nobody is reading
// (about 8.5 s of the line): they are dropped, as a real line drops what no
// receiver listens to, so the writer never stalls and a late reader does not get
// a backlog of old readings.
constexpr int kStaleInputBytes = 2048;
// How long finished() waits for a reader to take the last frame.
constexpr int kDrainLimitMs = 1000;
constexpr int kDrainPollMs = 20;
// Where the first write begins when starting mid-frame.
constexpr int kMidFrameOffset = 7;

// Stray bytes for garbage injection; none of them is a frame start.
constexpr std::array<char, 8> kGarbage = {'\x00', '\xFF', '\x3C', '\x7E',
                                          '\x55', '\xA5', '\x0D', '\x0A'};

QString systemError(const char* what, int err) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                        QString::fromLocal8Bit(std::strerror(err)));
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

PtyInstrument::Options PtyInstrument::builtInOptions() {
    Options options;
    options.profile.base = 100.0;
    options.profile.span = 70.0;
    options.profile.noise = 1.5;
    options.profile.periodFrames = 120;
    options.periodMs = 500;
    options.logEvery = 25;
    return options;
}

PtyInstrument::PtyInstrument(QObject* parent) : PtyInstrument(Options(), parent) {}

PtyInstrument::PtyInstrument(const Options& options, QObject* parent)
    : QObject(parent), m_options(options) {
    m_tickTimer.setSingleShot(true);
    m_tickTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_tickTimer, &QTimer::timeout, this, &PtyInstrument::tick);
    m_drainTimer.setInterval(kDrainPollMs);
    connect(&m_drainTimer, &QTimer::timeout, this, &PtyInstrument::checkDrained);
}

PtyInstrument::~PtyInstrument() {
    stop();
}

Result<void, QString> PtyInstrument::start() {
    stop();
    Result<void, QString> opened = m_options.device.isEmpty() ? openPty() : openDevice();
    if (!opened) {
        stop();
        return opened;
    }
    m_profile = SignalProfile(m_options.profile);
    m_running = true;
    m_framesWritten = 0;
    m_garbageWritten = 0;
    m_inBurst = 0;
    m_pending.clear();
    m_tailPending = m_options.startMidFrame;
    m_clock.start();
    m_wireFreeAtMs = 0;
    m_burstStartMs = 0;
    m_tickTimer.start(0);
    return {};
}

void PtyInstrument::stop() {
    m_tickTimer.stop();
    m_drainTimer.stop();
    m_running = false;
    if (m_port) {
        m_port->disconnect(this);
        m_port->close();
        m_port->deleteLater(); // stop() may run inside one of the port's signals
        m_port = nullptr;
    }
    removeLink();
    closeFd(m_masterFd);
    closeFd(m_slaveFd);
    m_pending.clear();
    m_slavePath.clear();
}

Result<void, QString> PtyInstrument::openPty() {
    char name[256] = {};
    if (::openpty(&m_masterFd, &m_slaveFd, name, nullptr, nullptr) != 0) {
        m_masterFd = m_slaveFd = -1;
        return Failure{systemError("Cannot create a pseudo-terminal", errno)};
    }
    // The slave stays open here as well: the line exists, and writes succeed,
    // whether or not a reader has opened it yet.
    termios tio{};
    if (::tcgetattr(m_slaveFd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B2400);
        ::cfsetospeed(&tio, B2400);
        tio.c_cflag |= CLOCAL | CREAD;
        ::tcsetattr(m_slaveFd, TCSANOW, &tio);
    }
    for (int fd : {m_masterFd, m_slaveFd})
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_masterFd, F_SETFL, ::fcntl(m_masterFd, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);
    if (!m_options.linkPath.isEmpty())
        return makeLink();
    return {};
}

Result<void, QString> PtyInstrument::openDevice() {
    m_port = new QSerialPort(m_options.device, this);
    m_port->setBaudRate(kBaud);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::WriteOnly))
        return Failure{QStringLiteral("%1: %2").arg(m_options.device, m_port->errorString())};
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::NoError || !m_port)
            return;
        const QString reason =
            QStringLiteral("%1: %2").arg(m_options.device, m_port->errorString());
        stop();
        Q_EMIT failed(reason);
    });
    m_slavePath = m_options.device;
    return {};
}

Result<void, QString> PtyInstrument::makeLink() {
    const QString& link = m_options.linkPath;
    const QFileInfo existing(link);
    if (existing.isSymLink()) {
        // A link left behind by an earlier run: point it at this terminal.
        if (!QFile::remove(link))
            return Failure{QStringLiteral("Cannot replace %1").arg(link)};
    } else if (existing.exists()) {
        return Failure{QStringLiteral("%1 exists and is not a symbolic link").arg(link)};
    }
    if (::symlink(QFile::encodeName(m_slavePath).constData(),
                  QFile::encodeName(link).constData()) != 0)
        return Failure{systemError(QFile::encodeName(link).constData(), errno)};
    m_linkMade = link;
    return {};
}

void PtyInstrument::removeLink() {
    if (m_linkMade.isEmpty())
        return;
    // Only remove the link while it is still ours.
    if (QFileInfo(m_linkMade).symLinkTarget() == QFileInfo(m_slavePath).absoluteFilePath())
        QFile::remove(m_linkMade);
    m_linkMade.clear();
}

double PtyInstrument::elapsedMs() const {
    return static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
}

void PtyInstrument::tick() {
    if (!m_running)
        return;
    const double now = elapsedMs();
    if (now < m_wireFreeAtMs) { // never faster than the line
        armAt(m_wireFreeAtMs, now);
        return;
    }
    if (m_tailPending) {
        m_tailPending = false;
        const Frame before =
            makeFrame(m_profile.valueAt(-1), m_profile.celsius(), m_options.modeIndex,
                      m_options.emissivity, m_options.locked, false, false);
        const FrameBytes bytes = encodeFrame(before);
        send(QByteArray(reinterpret_cast<const char*>(bytes.data()) + kMidFrameOffset,
                        static_cast<qsizetype>(bytes.size()) - kMidFrameOffset),
             now);
        armAt(m_wireFreeAtMs, now);
        return;
    }

    const int n = m_framesWritten + 1;
    const bool log = m_options.logEvery > 0 && n % m_options.logEvery == 0;
    const Frame frame =
        makeFrame(m_profile.valueAt(n - 1), m_profile.celsius(), m_options.modeIndex,
                  m_options.emissivity, m_options.locked, log, log && m_options.logWithValue);
    const FrameBytes bytes = encodeFrame(frame);
    QByteArray out(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qsizetype>(bytes.size()));
    if (m_options.garbageEvery > 0 && n % m_options.garbageEvery == 0) {
        const int length = 2 + m_garbageWritten % 4;
        for (int i = 0; i < length; ++i)
            out.append(kGarbage[static_cast<std::size_t>(m_garbageWritten + i) % kGarbage.size()]);
        ++m_garbageWritten;
    }
    send(out, now);
    m_framesWritten = n;
    Q_EMIT frameWritten(n);
    if (!m_running || m_framesWritten != n) // a receiver stopped or restarted us
        return;
    if (m_options.count > 0 && n >= m_options.count) {
        m_drainClock.start();
        m_drainTimer.start();
        return;
    }
    scheduleNext(now);
}

void PtyInstrument::scheduleNext(double nowMs) {
    if (m_options.maxRate) {
        armAt(m_wireFreeAtMs, nowMs);
        return;
    }
    if (++m_inBurst < std::max(1, m_options.burst)) {
        armAt(m_wireFreeAtMs, nowMs);
        return;
    }
    m_inBurst = 0;
    const double period = std::max<double>(m_options.periodMs, kFrameMs);
    m_burstStartMs += period;
    // After a stall (a suspended machine, a busy event loop) start afresh rather
    // than send every missed frame at once.
    if (m_burstStartMs < nowMs - period)
        m_burstStartMs = nowMs;
    armAt(std::max(m_burstStartMs, m_wireFreeAtMs), nowMs);
}

void PtyInstrument::armAt(double dueMs, double nowMs) {
    m_tickTimer.start(static_cast<int>(std::max(0.0, std::ceil(dueMs - nowMs))));
}

void PtyInstrument::send(const QByteArray& bytes, double nowMs) {
    m_wireFreeAtMs = std::max(nowMs, m_wireFreeAtMs) + bytes.size() * kByteMs;
    if (m_port) {
        m_port->write(bytes);
        return;
    }
    discardStaleInput();
    m_pending.append(bytes);
    flushPending();
}

void PtyInstrument::flushPending() {
    if (m_masterFd < 0) {
        m_pending.clear();
        return;
    }
    // Whatever a reader sent back (an echo, a command) is of no interest; reading
    // it keeps the reader from blocking on a full line.
    char sink[256];
    while (::read(m_masterFd, sink, sizeof sink) > 0) {
    }
    while (!m_pending.isEmpty()) {
        const ssize_t n =
            ::write(m_masterFd, m_pending.constData(), static_cast<std::size_t>(m_pending.size()));
        if (n > 0) {
            m_pending.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Full: the rest goes out at the next frame. Should the line stay
            // full, whole frames are dropped rather than kept without bound.
            if (m_pending.size() > kStaleInputBytes)
                m_pending.clear();
        } else {
            // EIO or worse: the line is down; this data is lost like on a wire.
            m_pending.clear();
        }
        return;
    }
}

void PtyInstrument::discardStaleInput() {
    if (slaveQueued() >= kStaleInputBytes)
        ::tcflush(m_slaveFd, TCIFLUSH);
}

int PtyInstrument::slaveQueued() const {
    int queued = 0;
    if (m_slaveFd < 0 || ::ioctl(m_slaveFd, FIONREAD, &queued) != 0)
        return 0;
    return queued;
}

void PtyInstrument::checkDrained() {
    if (!m_port)
        flushPending();
    // Bytes written to the master reach the slave's input a moment later, so an
    // empty input means nothing before the last frame has had its wire time.
    const bool drained =
        elapsedMs() >= m_wireFreeAtMs &&
        (m_port ? m_port->bytesToWrite() == 0 : m_pending.isEmpty() && slaveQueued() == 0);
    if (drained || m_drainClock.elapsed() >= kDrainLimitMs) {
        m_drainTimer.stop();
        Q_EMIT finished();
    }
}
