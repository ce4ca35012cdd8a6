#pragma once
// Where an owner leaves a worker whose thread did not end in the time it waited: destroying the object
// under its running thread would pull the ground from under it. The keeper destroys it once the thread
// has ended; a worker still running when the process exits ends with the process.

#include <memory>

#include "download/ThreadBase.h"

// Destroys `worker` now when it has no thread or its thread has ended, otherwise as soon as it ends.
// Callable from the owner's thread at any time; `worker` must have been asked to stop.
void ReleaseWorker(std::unique_ptr<CThreadBase> worker);

// Workers handed over whose threads have not ended yet (tests).
int KeptWorkerCount();
