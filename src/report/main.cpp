#include "report/report_cli.h"

int main(int argc, char** argv) { return runReport(argc, argv); }
