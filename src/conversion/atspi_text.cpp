#include "atspi_text.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QList>
#include <QRect>

#include <unistd.h>

namespace tk::conversion::atspi {

namespace {

const QString accessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString componentInterface = QStringLiteral("org.a11y.atspi.Component");
const QString textInterface = QStringLiteral("org.a11y.atspi.Text");
const QString editableTextInterface = QStringLiteral("org.a11y.atspi.EditableText");
const QString nullPath = QStringLiteral("/org/a11y/atspi/null");
constexpr unsigned screenCoordinates = 0;
// A program that does not answer within this time is taken to have no text:
// picking must never hang the dialog.
constexpr int answerMs = 1500;
// How far up from the object under the pointer a text is looked for (the
// pointer may rest on a scroll area's viewport or a label inside a field).
constexpr int parentsTried = 3;

std::optional<QDBusConnection> connectBus()
{
    QString address = qEnvironmentVariable("AT_SPI_BUS_ADDRESS");
    if (address.isEmpty()) {
        QDBusConnection session = QDBusConnection::sessionBus();
        if (!session.isConnected())
            return std::nullopt;
        const QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus"),
            QStringLiteral("GetAddress"));
        const QDBusMessage reply = session.call(call, QDBus::Block, answerMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return std::nullopt;
        address = reply.arguments().first().toString();
    }
    if (address.isEmpty())
        return std::nullopt;
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("tk-accessibility"));
    if (!bus.isConnected())
        return std::nullopt;
    return bus;
}

// One connection for the life of the program, made on first use.
std::optional<QDBusConnection>& bus()
{
    static std::optional<QDBusConnection> connection = connectBus();
    return connection;
}

std::optional<QList<QVariant>> call(const Accessible& a, const QString& interface, const QString& method,
                                    const QList<QVariant>& arguments = {})
{
    auto& connection = bus();
    if (!connection || a.isNull())
        return std::nullopt;
    QDBusMessage message = QDBusMessage::createMethodCall(a.service, a.path, interface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = connection->call(message, QDBus::Block, answerMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return std::nullopt;
    return reply.arguments();
}

std::optional<QVariant> property(const Accessible& a, const QString& interface, const QString& name)
{
    const auto reply = call(a, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                            {interface, name});
    if (!reply || reply->isEmpty())
        return std::nullopt;
    return reply->first().value<QDBusVariant>().variant();
}

Accessible referenceOf(const QDBusArgument& argument)
{
    Accessible a;
    QDBusObjectPath path;
    argument.beginStructure();
    argument >> a.service >> path;
    argument.endStructure();
    a.path = path.path();
    return a.path == nullPath ? Accessible{} : a;
}

Accessible referenceOf(const QVariant& value)
{
    return value.canConvert<QDBusArgument>() ? referenceOf(value.value<QDBusArgument>()) : Accessible{};
}

QList<Accessible> children(const Accessible& a)
{
    QList<Accessible> list;
    const auto reply = call(a, accessibleInterface, QStringLiteral("GetChildren"));
    if (!reply || reply->isEmpty() || !reply->first().canConvert<QDBusArgument>())
        return list;
    const QDBusArgument argument = reply->first().value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd())
        list << referenceOf(argument);
    argument.endArray();
    list.removeAll(Accessible{});
    return list;
}

bool implements(const Accessible& a, const QString& interface)
{
    const auto reply = call(a, accessibleInterface, QStringLiteral("GetInterfaces"));
    return reply && !reply->isEmpty() && reply->first().toStringList().contains(interface);
}

std::optional<QRect> extents(const Accessible& a)
{
    const auto reply = call(a, componentInterface, QStringLiteral("GetExtents"), {screenCoordinates});
    if (!reply || reply->isEmpty() || !reply->first().canConvert<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument argument = reply->first().value<QDBusArgument>();
    int x = 0, y = 0, width = 0, height = 0;
    argument.beginStructure();
    argument >> x >> y >> width >> height;
    argument.endStructure();
    return QRect(x, y, width, height);
}

bool isThisProgram(const Accessible& application)
{
    const QDBusReply<uint> pid = bus()->interface()->servicePid(application.service);
    return pid.isValid() && pid.value() == uint(::getpid());
}

// The object with a text at the point inside window, or its nearest
// ancestor with one.
Accessible textInside(const Accessible& window, QPoint p)
{
    const auto reply = call(window, componentInterface, QStringLiteral("GetAccessibleAtPoint"),
                            {p.x(), p.y(), screenCoordinates});
    Accessible at = reply && !reply->isEmpty() ? referenceOf(reply->first()) : Accessible{};
    if (at.isNull())
        at = window;
    for (int up = 0; up <= parentsTried && !at.isNull(); ++up) {
        if (implements(at, textInterface))
            return at;
        const auto parent = property(at, accessibleInterface, QStringLiteral("Parent"));
        at = parent ? referenceOf(*parent) : Accessible{};
    }
    return {};
}

} // namespace

bool available() { return bus().has_value(); }

Accessible textAt(QPoint screenPoint)
{
    if (!available())
        return {};
    const Accessible desktop{QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/accessible/root")};
    for (const Accessible& application : children(desktop)) {
        if (isThisProgram(application))
            continue;
        for (const Accessible& window : children(application)) {
            const auto box = extents(window);
            if (!box || !box->contains(screenPoint))
                continue;
            if (const Accessible found = textInside(window, screenPoint); !found.isNull())
                return found;
        }
    }
    return {};
}

std::optional<QString> text(const Accessible& accessible)
{
    const auto count = property(accessible, textInterface, QStringLiteral("CharacterCount"));
    if (!count)
        return std::nullopt;
    const auto reply = call(accessible, textInterface, QStringLiteral("GetText"), {0, count->toInt()});
    if (!reply || reply->isEmpty())
        return std::nullopt;
    return reply->first().toString();
}

bool setText(const Accessible& accessible, const QString& text)
{
    const auto reply = call(accessible, editableTextInterface, QStringLiteral("SetTextContents"), {text});
    return reply && !reply->isEmpty() && reply->first().toBool();
}

} // namespace tk::conversion::atspi
