// Start-up of the desktop application: from starting the process to the first paint of the main window,
// without a display (offscreen), a new simulation as on a plain start. Goal: 0.5 s.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

void BM_StartToFirstWindow(benchmark::State& state) {
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("GROVEX_STARTUP_PROBE"), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path()); // settings of a first start
    for (auto _ : state) {
        QProcess grovex;
        grovex.setProcessEnvironment(environment);
        grovex.setWorkingDirectory(home.path());
        grovex.start(QStringLiteral(GROVEX_APP_PATH), QStringList{});
        bool shown = false;
        while (!shown && grovex.waitForReadyRead(10000)) {
            shown = grovex.readAllStandardOutput().contains("shown");
        }
        if (!shown) {
            state.SkipWithError("the main window was not shown");
            break;
        }
        state.PauseTiming();
        grovex.waitForFinished(10000);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
