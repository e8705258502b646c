// The main of the benchmarks that need widgets: a QApplication.
#include "bench/BenchMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    return RunBenchmarks<QApplication>(argc, argv);
}
