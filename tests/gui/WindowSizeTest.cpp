// The demo program on a real X server (Xvfb), with and without a window
// manager: the window's outer size, frame included, is the size the resource
// file asks for, or the whole screen when it asks for 0 x 0. Measured as the
// X server has it: the top-level window the program's window hangs from.

#include "GuiSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>

namespace ondrix {
namespace {

constexpr QSize Screen(1024, 768);
const QString Demo = QStringLiteral("ondrix-configuratore-demo");

QStringList words(const char* s) { return QString::fromLatin1(s).split(QLatin1Char(' ')); }

// A program the test starts and ends.
struct Programma {
    QProcess p;
    // Starts it and waits for its first output; false when none comes.
    bool start(const QProcessEnvironment& env, const QString& program, const QStringList& args)
    {
        p.setProcessEnvironment(env);
        p.start(program, args);
        return p.waitForReadyRead(20000);
    }
    ~Programma()
    {
        p.kill();
        p.waitForFinished(5000);
    }
};

// Runs a command to its end and gives what it printed.
QString output(const QProcessEnvironment& env, const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(20000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Xvfb on a free display (it prints the display's number once it takes
// connections), and openbox when asked (it runs its start-up command once
// it manages the screen).
struct ServerX {
    Programma server, wm;  // ended in the reverse order
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    std::string start(bool windowManager)
    {
        if (!server.start(env, QStringLiteral("Xvfb"),
                          words("-displayfd 1 -nolisten tcp -screen 0 1024x768x24")))
            return "Xvfb did not start";
        env.insert(QStringLiteral("DISPLAY"),
                   QLatin1Char(':') + QString::fromLatin1(server.p.readAllStandardOutput()).trimmed());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // In the sanitizer build: the X keyboard library every X client loads
        // hands strndup a buffer without an end, which strict string checks
        // report. The programs' own code is checked by the other tests.
        if (env.contains(QStringLiteral("ASAN_OPTIONS")))
            env.insert(QStringLiteral("ASAN_OPTIONS"),
                       env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":strict_string_checks=0"));
        if (windowManager &&
            !wm.start(env, QStringLiteral("openbox"), {QStringLiteral("--sm-disable"),
                                                      QStringLiteral("--startup"),
                                                      QStringLiteral("echo ready")}))
            return "openbox did not start";
        return {};
    }
};

struct Misura {
    QSize inside, outside;
};

int field(const QString& info, const char* name)
{
    return QRegularExpression(QStringLiteral("%1: +(\\d+)").arg(QLatin1String(name)))
        .match(info)
        .captured(1)
        .toInt();
}

// The program's visible window and the top-level window it hangs from (the
// frame, or the window itself without a window manager).
std::optional<Misura> misura(const QProcessEnvironment& env)
{
    const QString id = output(env, QStringLiteral("xdotool"),
                              words("search --onlyvisible --classname") << Demo)
                           .section(QLatin1Char('\n'), 0, 0);
    const auto size = [&](const QString& win) {
        const QString info = output(env, QStringLiteral("xwininfo"), {QStringLiteral("-id"), win});
        const int border = 2 * field(info, "Border width");
        return QSize(field(info, "Width") + border, field(info, "Height") + border);
    };
    const QRegularExpression parent(QStringLiteral("Parent window id: (0x[0-9a-f]+)( \\(the root window\\))?"));
    QString win = id;
    for (int depth = 0; !id.isEmpty() && depth < 8; ++depth) {
        const auto m = parent.match(output(env, QStringLiteral("xwininfo"), words("-tree -id") << win));
        if (!m.hasMatch())
            break;
        if (!m.captured(2).isEmpty())
            return Misura{size(id), size(win)};
        win = m.captured(1);
    }
    return std::nullopt;
}

// The demo from a folder of its own whose "Stringhe.txt" asks for x x y
// pixels; gives the window's size once its outside is the one wanted (the
// window manager frames it, the program follows), or the last one seen.
std::optional<Misura> dimensioniDellaDemo(const QProcessEnvironment& env, int x, int y, QSize wanted)
{
    QTemporaryDir dir;
    const QString bin = QStringLiteral(ONDRIX_BIN_DIR "/");
    QFile::copy(bin + Demo, dir.filePath(Demo));
    QFile in(bin + QStringLiteral("Stringhe.txt"));
    QFile out(dir.filePath(QStringLiteral("Stringhe.txt")));
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return std::nullopt;
    QList<QByteArray> lines = in.readAll().split('\n');
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] == "[DIMENSIONESCHERMOX]\r")
            lines[i + 1] = QByteArray::number(x) + '\r';
        else if (lines[i] == "[DIMENSIONESCHERMOY]\r")
            lines[i + 1] = QByteArray::number(y) + '\r';
    }
    out.write(lines.join('\n'));
    out.close();

    Programma demo;
    demo.p.setProcessEnvironment(env);
    demo.p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    demo.p.start(dir.filePath(Demo), {});
    std::optional<Misura> m;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000 && demo.p.state() != QProcess::NotRunning) {
        m = misura(env);
        if (m && m->outside == wanted)
            break;
        QThread::msleep(100);
    }
    return m;
}

std::string str(QSize s) { return std::to_string(s.width()) + " x " + std::to_string(s.height()); }

// 640 x 480 asked, and 0 x 0 (the whole screen: this one has no taskbar).
void controllaDimensioni(const ServerX& x, bool framed)
{
    for (const QSize asked : {QSize(640, 480), QSize(0, 0)}) {
        const QSize outside = asked.isNull() ? Screen : asked;
        const auto m = dimensioniDellaDemo(x.env, asked.width(), asked.height(), outside);
        ASSERT_TRUE(m) << "no window of the demo on the display";
        EXPECT_EQ(str(m->outside), str(outside)) << "asked " << str(asked);
        if (framed)
            EXPECT_LT(m->inside.height(), m->outside.height()) << "the window manager framed nothing";
        else
            EXPECT_EQ(str(m->inside), str(m->outside));
    }
}

std::string missing(const QStringList& programs)
{
    for (const QString& p : programs)
        if (QStandardPaths::findExecutable(p).isEmpty())
            return p.toStdString() + " is not installed (scripts/deps installs it)";
    return {};
}

TEST(WindowOnX, WithoutAWindowManagerTheWindowIsTheAskedSize)
{
    test::guiApp();
    if (const std::string m = missing(words("Xvfb xdotool xwininfo")); !m.empty())
        GTEST_SKIP() << m;
    ServerX x;
    const std::string err = x.start(false);
    ASSERT_TRUE(err.empty()) << err;
    controllaDimensioni(x, false);
}

TEST(WindowOnX, UnderAWindowManagerTheFramedWindowIsTheAskedSize)
{
    test::guiApp();
    if (const std::string m = missing(words("Xvfb xdotool xwininfo openbox")); !m.empty())
        GTEST_SKIP() << m;
    ServerX x;
    const std::string err = x.start(true);
    ASSERT_TRUE(err.empty()) << err;
    controllaDimensioni(x, true);
}

} // namespace
} // namespace ondrix
