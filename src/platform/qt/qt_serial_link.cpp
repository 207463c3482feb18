#include "platform/qt/qt_serial_link.h"

#include <QSerialPort>

namespace tarvel {

bool QtSerialLink::probe(const std::string& device)
{
    QSerialPort port;
    port.setPortName(QString::fromStdString(device));
    // Opening takes the port for this program alone (a lock on Unix), so a port
    // another program holds reads as absent.
    if (!port.open(QIODevice::ReadWrite)) return false;
    port.close();
    return true;
}

}  // namespace tarvel
