// The processor time the calling thread has used, in seconds: what a piece of work costs whatever else the machine
// runs, where a clock would also count the time it waited for a processor.
#pragma once

double ThreadProcessorSeconds();
