// The main of the benchmarks that draw without widgets: a QGuiApplication for the fonts.
#include "bench/BenchMain.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    return RunBenchmarks<QGuiApplication>(argc, argv);
}
