#pragma once

// The ordering by pairwise exchange that `sort` reproduces: every list position
// against every list position, n × n comparisons. The program does not use it;
// it is the yardstick that checks `sort` and that `sort` is measured against.
void exchangeSort();
