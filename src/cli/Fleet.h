#pragma once

struct CliSession;

// A device command with --devices: the same zelvo-cli once a device, all at
// once, each child on its own link and in its own process, watched by a
// thread of its own. Each device's line is printed as it ends, then a
// summary, or with --json one document listing every device's own.
// ExitDone when every device did it, ExitDeviceFailed when any did not,
// ExitInterrupted after Ctrl+C, ExitUsage for a wrong list (nothing sent).
int RunFleet(CliSession& session);
