#include "engine/cmscomm.h"

#include "core/config/serialdevices.h"

#include <QCoreApplication>
#include <QFile>
#include <QSerialPort>
#include <QStringList>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

CMSComm::CMSComm(QObject* parent) : QObject(parent), m_port(new QSerialPort(this)) {
    connect(m_port, &QSerialPort::readyRead, this, &CMSComm::readAvailable);
    connect(m_port, &QSerialPort::errorOccurred, this, &CMSComm::handleError);
}

CMSComm::~CMSComm() = default;

void CMSComm::setDeviceResolver(std::function<QString(int)> resolver) {
    m_resolver = std::move(resolver);
}

QString CMSComm::devicePath(int port) const {
    if (!m_boundDevice.isEmpty())
        return m_boundDevice;
    if (m_resolver)
        return m_resolver(port);
    return QStringLiteral("/dev/ttyUSB%1").arg(port - 1);
}

bool CMSComm::setSettings(const QString& settings) {
    const QStringList parts = settings.split(QLatin1Char(','));
    bool ok = parts.size() == 4;
    const int baud = ok ? parts[0].trimmed().toInt(&ok) : 0;
    if (!ok || baud <= 0 ||
        parts[1].trimmed().compare(QLatin1String("n"), Qt::CaseInsensitive) != 0 ||
        parts[2].trimmed() != QLatin1String("8") || parts[3].trimmed() != QLatin1String("1"))
        return false;
    m_strSettings = settings;
    m_nBaud = baud;
    return true;
}

qint64 CMSComm::inBufferCount() const {
    return m_port->isOpen() ? m_port->bytesAvailable() : 0;
}

void CMSComm::setInBufferCount(short n) {
    // The driver's buffer goes too, with what the instrument sent before.
    if (n == 0 && m_port->isOpen()) {
        m_port->clear(QSerialPort::Input);
        m_port->readAll();
    }
}

bool CMSComm::portOpen() const {
    return m_port->isOpen();
}

Result<void, PortOpenError> CMSComm::setPortOpen(bool open) {
    if (!open) {
        if (m_port->isOpen())
            m_port->close();
        return {};
    }
    if (m_port->isOpen())
        return {};
    const QString path = currentDevicePath();
    if (path.isEmpty())
        return Failure{PortOpenError{
            PortFailure::NoDevice,
            tr("COM%1 has no device. Choose another port with Select COM.").arg(m_nCommPort)}};
    m_strOpenPath = path;
    m_bSharedTold = false;
    m_port->setPortName(path);
    m_port->setBaudRate(m_nBaud);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadOnly)) {
        PortOpenError error{PortFailure::Other,
                            tr("Cannot open %1: %2").arg(path, m_port->errorString())};
        switch (m_port->error()) {
        case QSerialPort::DeviceNotFoundError:
            error.failure = PortFailure::NotFound;
            break;
        case QSerialPort::PermissionError:
            // Refused to a user who may open it: someone else holds it.
            error.failure =
                ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), R_OK, AT_EACCESS) == 0
                    ? PortFailure::Busy
                    : PortFailure::Permission;
            break;
        default:
            break;
        }
        m_port->clearError();
        return Failure{std::move(error)};
    }
    // One program at a time, whatever name opened the device: the serial
    // port's lock file goes by the name, and TIOCEXCL does not stop root.
    if (::flock(static_cast<int>(m_port->handle()), LOCK_EX | LOCK_NB) != 0) {
        m_port->close();
        return Failure{
            PortOpenError{PortFailure::Busy,
                          tr("Cannot open %1: another program has this device open.").arg(path)}};
    }
    return {};
}

QByteArray CMSComm::input() {
    return m_port->isOpen() ? m_port->readAll() : QByteArray();
}

void CMSComm::readAvailable() {
    // The port does not raise readyRead again while its handler runs: bytes
    // that come in meanwhile are left for the handler's own reader to take.
    if (m_nRThreshold > 0 && inBufferCount() >= m_nRThreshold)
        Q_EMIT OnComm();
}

void CMSComm::handleError() {
    const QSerialPort::SerialPortError error = m_port->error();
    if (error == QSerialPort::NoError)
        return;
    // Errors while opening are reported by setPortOpen().
    if ((error == QSerialPort::ReadError || error == QSerialPort::ResourceError) &&
        m_port->isOpen() && !hungUp()) {
        // The device said it had bytes, and another reader took them first.
        // The port stops watching on such an error until it is read again.
        m_port->clearError();
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_port->isOpen())
                    Q_EMIT OnComm();
            },
            Qt::QueuedConnection);
        if (!m_bSharedTold) {
            m_bSharedTold = true;
            Q_EMIT lineShared(sharedText());
        }
        return;
    }
    if ((error == QSerialPort::ReadError || error == QSerialPort::ResourceError) &&
        m_port->isOpen()) {
        // A hang-up or an unplugged adapter: the descriptor reports an error
        // for ever, so let go of it at once.
        const QString reason =
            tr("The connection on %1 was lost: %2").arg(m_strOpenPath, m_port->errorString());
        m_port->clearError();
        m_port->close();
        Q_EMIT lineLost(reason);
    }
}

bool CMSComm::hungUp() const {
    pollfd p{static_cast<int>(m_port->handle()), POLLIN, 0};
    return ::poll(&p, 1, 0) < 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

QString CMSComm::sharedText() const {
    std::vector<PortHolder> others = portHolders(QFile::encodeName(m_strOpenPath).toStdString());
    std::erase_if(others, [](const PortHolder& h) {
        return h.pid == static_cast<int>(QCoreApplication::applicationPid());
    });
    const QString who =
        others.empty()
            ? QString()
            : QStringLiteral(" (%1)").arg(QString::fromStdString(portHoldersText(others)));
    return tr("Another program reads %1 too%2: the readings it takes are missing from this "
              "recording. Close that program.")
        .arg(m_strOpenPath, who);
}
