// The windowed program's progress display: progress windows of the
// framework, timed by the platform's clock, and the busy cursor.
#pragma once

void UseWindowProgress();
