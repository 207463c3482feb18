#include "platform/qt/qt_serial_link.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>

namespace tarvel {

QtSerialLink::QtSerialLink() = default;
QtSerialLink::~QtSerialLink() = default;

namespace {

// The system's name of the serial device whose USB description names the
// box, or empty when none is plugged in.
QString usbPortName()
{
    const QString wanted =
        QString::fromUtf8(kUsbDescription.data(), static_cast<qsizetype>(kUsbDescription.size()));
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        if (info.description() == wanted) return info.portName();
    return {};
}

}  // namespace

bool QtSerialLink::open(const std::string& device, const SerialProfile& profile)
{
    close();
    const QString name = device == kUsbDevice ? usbPortName() : QString::fromStdString(device);
    if (name.isEmpty()) return false;
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(name);
    // Opening takes the port for this program alone (a lock on Unix).
    if (!port_->open(QIODevice::ReadWrite)) {
        port_.reset();
        return false;
    }
    timeouts_ = profile.timeouts;
    // A port that refuses a setting stays open, as a box may still answer;
    // the first exchange then tells.
    const bool set =
        port_->setBaudRate(profile.baud) && port_->setDataBits(QSerialPort::Data8) &&
        port_->setParity(QSerialPort::NoParity) &&
        port_->setStopBits(profile.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
        port_->setFlowControl(QSerialPort::NoFlowControl);
    // A pseudo-terminal has no modem lines: refusing DTR and RTS is no fault.
    port_->setDataTerminalReady(true);
    port_->setRequestToSend(true);
    port_->clearError();
    port_->clear(QSerialPort::AllDirections);
    return set;
}

void QtSerialLink::close()
{
    if (port_) port_->close();
    port_.reset();
}

bool QtSerialLink::isOpen() const
{
    return port_ && port_->isOpen();
}

void QtSerialLink::takePending()
{
    // A zero wait polls the device once and moves what it holds into the
    // port's buffer; a few rounds take a burst that arrives in pieces.
    for (int round = 0; round < 4 && port_->waitForReadyRead(0); ++round) {
    }
}

int QtSerialLink::readByte()
{
    const std::vector<std::uint8_t> got = readBlock(1);
    return got.empty() ? -1 : got.front();
}

std::vector<std::uint8_t> QtSerialLink::readBlock(int count)
{
    std::vector<std::uint8_t> out;
    if (!isOpen() || count <= 0) return out;
    port_->clearError();  // a time-out of the last read is no fault of this one
    out.reserve(static_cast<std::size_t>(count));
    QElapsedTimer total, gap;
    total.start();
    gap.start();
    const qint64 totalMs = timeouts_.readTotalMs(count);
    while (out.size() < static_cast<std::size_t>(count)) {
        if (port_->bytesAvailable() > 0) {
            const QByteArray got = port_->read(count - static_cast<qint64>(out.size()));
            for (const char c : got) out.push_back(static_cast<std::uint8_t>(c));
            gap.restart();
            continue;
        }
        qint64 wait = totalMs - total.elapsed();
        if (!out.empty() && timeouts_.readInterval > 0)
            wait = std::min(wait, timeouts_.readInterval - gap.elapsed());
        if (wait <= 0) break;
        if (!port_->waitForReadyRead(static_cast<int>(wait)) && port_->bytesAvailable() == 0 &&
            port_->error() != QSerialPort::NoError && port_->error() != QSerialPort::TimeoutError)
            break;  // the device went away: no byte will come
    }
    return out;
}

bool QtSerialLink::writeBytes(std::span<const std::uint8_t> bytes)
{
    if (!isOpen()) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (port_->write(reinterpret_cast<const char*>(bytes.data()), size) != size) return false;
    // Without a total write time-out a write waits until it is done.
    const qint64 limit = timeouts_.writeTotalMs(static_cast<int>(size));
    QElapsedTimer elapsed;
    elapsed.start();
    while (port_->bytesToWrite() > 0) {
        const qint64 left = limit > 0 ? limit - elapsed.elapsed() : -1;
        if (limit > 0 && left <= 0) break;
        if (!port_->waitForBytesWritten(static_cast<int>(left))) break;
    }
    if (port_->bytesToWrite() == 0) return true;
    // What did not go out is not sent later, in the middle of another command.
    port_->clear(QSerialPort::Output);
    return false;
}

void QtSerialLink::purge()
{
    if (!isOpen()) return;
    takePending();
    port_->clear(QSerialPort::AllDirections);
    port_->readAll();
}

bool QtSerialLink::waitOutputDrained(int limitMs)
{
    if (!isOpen()) return false;
    QElapsedTimer elapsed;
    elapsed.start();
    while (port_->bytesToWrite() > 0) {
        const qint64 left = limitMs - elapsed.elapsed();
        if (left <= 0 || !port_->waitForBytesWritten(static_cast<int>(left)))
            return port_->bytesToWrite() == 0;
    }
    return true;
}

int QtSerialLink::bytesWaiting()
{
    if (!isOpen()) return 0;
    takePending();
    return static_cast<int>(port_->bytesAvailable());
}

bool QtSerialLink::probe(const std::string& device)
{
    QSerialPort port;
    port.setPortName(QString::fromStdString(device));
    // A port another program holds reads as absent.
    if (!port.open(QIODevice::ReadWrite)) return false;
    port.close();
    return true;
}

}  // namespace tarvel
