#include "app/platformstart.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QMessageLogContext>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

struct HeldMessage
{
    QtMsgType type;
    std::string file;
    int line;
    std::string function;
    std::string category;
    QString text;
};

std::mutex s_mutex; // a plugin may report from a thread of its own
bool s_holding = false;
QtMessageHandler s_previous = nullptr;
std::vector<HeldMessage> s_held;

std::string variable(const char* name)
{
    return qEnvironmentVariable(name).toStdString();
}

// The plugins Qt tried, in order, each with whether it was found at all: from its messages
// 'Could not find the Qt platform plugin "name"' and 'Could not load ... "name" even though it
// was found'.
struct TriedPlugin
{
    std::string name;
    bool found;
};

std::vector<TriedPlugin> triedPlugins(const std::vector<HeldMessage>& held)
{
    std::vector<TriedPlugin> tried;
    for (const HeldMessage& message : held) {
        const std::string text = message.text.toStdString();
        for (const auto& [prefix, found] :
             {std::pair{"Could not find the Qt platform plugin \"", false},
              std::pair{"Could not load the Qt platform plugin \"", true}}) {
            const std::size_t at = text.find(prefix);
            if (at == std::string::npos)
                continue;
            const std::size_t begin = at + std::string_view(prefix).size();
            const std::size_t end = text.find('"', begin);
            if (end != std::string::npos)
                tried.push_back({text.substr(begin, end - begin), found});
        }
    }
    return tried;
}

std::string whatIsMissing(const TriedPlugin& plugin)
{
    const bool wayland = plugin.name.starts_with("wayland");
    if (!plugin.found)
        return wayland ? "the Wayland platform plugin is not installed (package qt6-wayland)"
                       : "the platform plugin \"" + plugin.name + "\" is not installed";
    if (plugin.name == "xcb") {
        const std::string display = variable("DISPLAY");
        return display.empty() ? "no X display (DISPLAY is not set)"
                               : "the X display \"" + display + "\" cannot be opened";
    }
    if (wayland) {
        const std::string compositor = variable("WAYLAND_DISPLAY");
        return compositor.empty()
                   ? "no Wayland compositor (WAYLAND_DISPLAY is not set)"
                   : "the Wayland compositor \"" + compositor + "\" cannot be reached";
    }
    return "the platform plugin \"" + plugin.name + "\" cannot start";
}

// Qt's report ends with the plugins there are: "Available platform plugins are: a, b, c."
std::string installedPlugins(const std::string& fatal)
{
    constexpr std::string_view marker = "Available platform plugins are:";
    const std::size_t at = fatal.find(marker);
    if (at == std::string::npos)
        return {};
    std::string list = fatal.substr(at + marker.size());
    while (!list.empty() && (list.back() == '\n' || list.back() == '.' || list.back() == ' '))
        list.pop_back();
    while (!list.empty() && list.front() == ' ')
        list.erase(0, 1);
    return list.find('\n') == std::string::npos ? list : std::string();
}

// The first line of Qt's report, when it names no plugin it tried.
std::string firstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

std::string failureLine(const std::string& reasons, const std::string& installed)
{
    std::string line = "arbolix: cannot show a window: " + reasons +
                       "; choose a platform with QT_QPA_PLATFORM=name";
    if (!installed.empty())
        line += " (installed: " + installed + ")";
    return line + "\n";
}

[[noreturn]] void endWithoutWindow(const std::string& line)
{
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
    // Nothing of the directory is in use yet, and the toolkit is half made: no exit handlers.
    ::_exit(1);
}

std::string whatFailed(const std::vector<HeldMessage>& held, const std::string& fatal)
{
    std::string reasons;
    for (const TriedPlugin& plugin : triedPlugins(held)) {
        const std::string reason = whatIsMissing(plugin);
        if (reasons.find(reason) == std::string::npos)
            reasons += (reasons.empty() ? "" : ", and ") + reason;
    }
    if (!reasons.empty())
        return reasons;
    const std::string requested = variable("QT_QPA_PLATFORM");
    return (requested.empty() ? "no platform plugin can start"
                              : "the platform \"" + requested + "\" cannot start") +
           (" (" + firstLine(fatal) + ")");
}

// Qt's fatal report aborts once this returns, so it never does on that one.
void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    std::unique_lock lock(s_mutex);
    if (type == QtFatalMsg) {
        const std::string fatal = text.toStdString();
        endWithoutWindow(failureLine(whatFailed(s_held, fatal), installedPlugins(fatal)));
    }
    s_held.push_back({type, context.file ? context.file : "", context.line,
                      context.function ? context.function : "",
                      context.category ? context.category : "", text});
}

} // namespace

PlatformStart::PlatformStart()
{
    s_previous = qInstallMessageHandler(holdMessage);
    s_holding = true;
}

PlatformStart::~PlatformStart()
{
    started();
}

void PlatformStart::started()
{
    if (!s_holding)
        return;
    s_holding = false;
    // A platform without a screen (linuxfb without a frame buffer) would abort at the first
    // window instead.
    if (QGuiApplication::primaryScreen() == nullptr) {
        endWithoutWindow(failureLine(
            "the platform \"" + QGuiApplication::platformName().toStdString() + "\" has no screen",
            {}));
    }
    qInstallMessageHandler(s_previous);
    std::vector<HeldMessage> held;
    {
        const std::lock_guard lock(s_mutex);
        held.swap(s_held);
    }
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(
            message.file.empty() ? nullptr : message.file.c_str(), message.line,
            message.function.empty() ? nullptr : message.function.c_str(),
            message.category.c_str());
        qt_message_output(message.type, context, message.text);
    }
}
