// What reaches the MQTT input from outside: the URL of an unattended start, and a message
// (topic and payload) turned into a line. The first byte chooses the flags, the second
// splits the rest into topic and payload.

#include "fuzz/FuzzSupport.h"
#include "sources/MqttClient.h"
#include "sources/MqttSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const QString url = QString::fromUtf8(bytes, static_cast<qsizetype>(size));
    CMqttSettings settings;
    const CMqttSettings before = settings;
    QString error;
    if (ParseMqttUrl(url, settings, &error)) {
        // What the URL gives, the settings dialog accepts.
        fuzz::Check(CheckMqttSettings(settings).isEmpty(), "a parsed URL gives settings that do not check");
    } else {
        fuzz::Check(settings == before, "a refused URL changed the settings");
        fuzz::Check(!error.isEmpty(), "a refused URL gave no reason");
    }

    if (size < 2)
        return 0;
    const bool topicFirst = data[0] & 1;
    const bool utf8 = data[0] & 2;
    const size_t split = std::min<size_t>(data[1], size - 2);
    const QByteArray topic(bytes + 2, static_cast<qsizetype>(split));
    const char* payload = bytes + 2 + split;
    const qsizetype payloadSize = static_cast<qsizetype>(size - 2 - split);
    const QString line = LineFromMessage(topic, payload, payloadSize, topicFirst, utf8);
    if (!topicFirst)
        fuzz::Check(!line.contains(QChar(0)), "a line holds a zero character");
    fuzz::Check(line.size() <= 2 * (topic.size() + 1) + 2 + payloadSize, "a line is longer than its message");
    return 0;
}
