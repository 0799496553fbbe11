#include "console.h"

int main() { return runConsole(); }
