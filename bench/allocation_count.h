// Counts heap allocations of the benchmark process (operator new is replaced).
#pragma once

long AllocationCount();
