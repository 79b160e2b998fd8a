// The demo program on a real X server (Xvfb), with and without a window
// manager: the window's outer size, frame included, is the size the resource
// file asks for, or the whole screen when it asks for 0 x 0. Measured as the
// X server has it: the top-level window the program's window hangs from.

#include "GuiSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace ondrix {
namespace {

constexpr QSize Screen(1024, 768);
const QString Demo = QStringLiteral("ondrix-configuratore-demo");

// A program the test starts and ends.
struct Programma {
    QProcess p;
    ~Programma()
    {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
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

// Xvfb on a free display, optionally with openbox managing its windows.
class ServerX {
public:
    // Empty when the display could not be started.
    QString start()
    {
        server_.p.start(QStringLiteral("Xvfb"),
                        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                         QStringLiteral("0"),
                         QStringLiteral("%1x%2x24").arg(Screen.width()).arg(Screen.height()),
                         QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        // Xvfb writes its display number once it takes connections.
        if (!server_.p.waitForReadyRead(20000))
            return QStringLiteral("Xvfb did not start: ") + server_.p.readAllStandardError();
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(QStringLiteral("DISPLAY"),
                    QLatin1Char(':') + QString::fromLatin1(server_.p.readAllStandardOutput()).trimmed());
        env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        return {};
    }

    QString startWindowManager()
    {
        // openbox runs its start-up command once it manages the screen.
        wm_.p.setProcessEnvironment(env_);
        wm_.p.start(QStringLiteral("openbox"),
                    {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                     QStringLiteral("echo ready")});
        if (!wm_.p.waitForReadyRead(20000))
            return QStringLiteral("openbox did not start: ") + wm_.p.readAllStandardError();
        return {};
    }

    const QProcessEnvironment& env() const { return env_; }

private:
    Programma server_, wm_;  // ended in the reverse order
    QProcessEnvironment env_;
};

struct Misura {
    QSize inside, outside;
};

// The program's visible window and the top-level window it hangs from (the
// frame, or the window itself without a window manager).
std::optional<Misura> misura(const QProcessEnvironment& env)
{
    const QString id = output(env, QStringLiteral("xdotool"),
                              {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                               QStringLiteral("--classname"), Demo})
                           .section(QLatin1Char('\n'), 0, 0)
                           .trimmed();
    if (id.isEmpty())
        return std::nullopt;
    const auto size = [&](const QString& win) {
        const QString info = output(env, QStringLiteral("xwininfo"), {QStringLiteral("-id"), win});
        const auto field = [&](const char* name) {
            const QRegularExpression re(QStringLiteral("%1: +(\\d+)").arg(QLatin1String(name)));
            return re.match(info).captured(1).toInt();
        };
        const int border = 2 * field("Border width");
        return QSize(field("Width") + border, field("Height") + border);
    };
    QString win = id;
    const QRegularExpression parent(QStringLiteral("Parent window id: (0x[0-9a-f]+)( \\(the root window\\))?"));
    for (int depth = 0; depth < 8; ++depth) {
        const auto m = parent.match(output(env, QStringLiteral("xwininfo"),
                                           {QStringLiteral("-tree"), QStringLiteral("-id"), win}));
        if (!m.hasMatch())
            return std::nullopt;
        if (!m.captured(2).isEmpty())
            return Misura{size(id), size(win)};
        win = m.captured(1);
    }
    return std::nullopt;
}

// The demo from a folder of its own, whose "Stringhe.txt" asks for a size.
class DemoConDimensione {
public:
    DemoConDimensione(const QProcessEnvironment& env, int x, int y)
    {
        const QString bin = QStringLiteral(ONDRIX_BIN_DIR);
        QFile::copy(bin + QLatin1Char('/') + Demo, dir_.filePath(Demo));
        QFile in(bin + QStringLiteral("/Stringhe.txt"));
        if (!in.open(QIODevice::ReadOnly))
            return;
        QList<QByteArray> lines = in.readAll().split('\n');
        for (int i = 0; i + 1 < lines.size(); ++i) {
            if (lines[i] == "[DIMENSIONESCHERMOX]\r")
                lines[i + 1] = QByteArray::number(x) + '\r';
            if (lines[i] == "[DIMENSIONESCHERMOY]\r")
                lines[i + 1] = QByteArray::number(y) + '\r';
        }
        QFile out(dir_.filePath(QStringLiteral("Stringhe.txt")));
        if (out.open(QIODevice::WriteOnly))
            out.write(lines.join('\n'));
        out.close();
        demo_.p.setProcessEnvironment(env);
        demo_.p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        demo_.p.start(dir_.filePath(Demo), {});
    }

    // Waits until the window's outer size is the one wanted (the window
    // manager frames it, the program follows); gives the last one seen.
    std::optional<Misura> attendi(const QProcessEnvironment& env, QSize wanted)
    {
        std::optional<Misura> m;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 10000 && demo_.p.state() != QProcess::NotRunning) {
            m = misura(env);
            if (m && m->outside == wanted)
                break;
            QThread::msleep(100);
        }
        return m;
    }

private:
    QTemporaryDir dir_;
    Programma demo_;
};

std::string str(QSize s) { return std::to_string(s.width()) + " x " + std::to_string(s.height()); }

// Each size key pair with the outer size it must give on the 1024 x 768 screen.
void controllaDimensioni(const ServerX& x, bool framed)
{
    const struct {
        int x, y;
        QSize outside;
    } cases[] = {{640, 480, QSize(640, 480)}, {0, 0, Screen}};
    for (const auto& k : cases) {
        DemoConDimensione demo(x.env(), k.x, k.y);
        const auto m = demo.attendi(x.env(), k.outside);
        ASSERT_TRUE(m) << "no window of the demo on the display";
        EXPECT_EQ(str(m->outside), str(k.outside)) << k.x << " x " << k.y;
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
    if (const std::string m = missing({"Xvfb", "xdotool", "xwininfo"}); !m.empty())
        GTEST_SKIP() << m;
    ServerX x;
    const QString err = x.start();
    ASSERT_TRUE(err.isEmpty()) << err.toStdString();
    controllaDimensioni(x, false);
}

TEST(WindowOnX, UnderAWindowManagerTheFramedWindowIsTheAskedSize)
{
    test::guiApp();
    if (const std::string m = missing({"Xvfb", "xdotool", "xwininfo", "openbox"}); !m.empty())
        GTEST_SKIP() << m;
    ServerX x;
    QString err = x.start();
    ASSERT_TRUE(err.isEmpty()) << err.toStdString();
    err = x.startWindowManager();
    ASSERT_TRUE(err.isEmpty()) << err.toStdString();
    controllaDimensioni(x, true);
}

} // namespace
} // namespace ondrix
