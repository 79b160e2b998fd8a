// ondrix-configuratore-demo: the configurator's window on the built-in
// simulated island, in real time.
//
//   ondrix-configuratore-demo [--screenshot FILE.png] [SCENARIO-FILE]
//
// Without a scenario file the default island is used. With --screenshot the
// window is saved as a PNG once the start-up is over and the program ends.

#include "gui/Programma.h"
#include "gui/QtHost.h"
#include "sim/Scenario.h"
#include "sim/SimulatedIsland.h"
#include "sim/SimulatedPort.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <optional>
#include <string>

namespace {

constexpr const char* Usage = "usage: ondrix-configuratore-demo [--screenshot FILE.png] [SCENARIO-FILE]\n";

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    ondrix::RunOptions options;
    std::optional<std::string> scenarioFile;
    const QStringList args = app.arguments();  // Qt's own options already taken out
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (a == QLatin1String("--screenshot")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                std::fputs(Usage, stderr);
                return 2;
            }
            options.screenshot = args[++i].toStdString();
        } else if (a.startsWith(QLatin1Char('-')) || scenarioFile) {
            std::fprintf(stderr, "unexpected argument: %s\n%s", a.toLocal8Bit().constData(), Usage);
            return 2;
        } else {
            scenarioFile = a.toLocal8Bit().toStdString();
        }
    }

    ondrix::sim::Scenario scenario;
    try {
        scenario = scenarioFile ? ondrix::sim::loadScenario(*scenarioFile)
                                : ondrix::sim::demoScenario();
    } catch (const ondrix::sim::ScenarioError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }

    ondrix::QtHost host;
    ondrix::sim::SimulatedIsland island(std::move(scenario));
    ondrix::sim::SimulatedPort port(island, host);
    return ondrix::runConfigurator(app, host, port, options);
}
