#pragma once

// The commands of zelvo-cli. Each returns its exit code; the device work is
// the core's, the command only checks its arguments and reports.

struct CliSession;

int RunPorts(CliSession& session);
int RunFind(CliSession& session);
int RunState(CliSession& session);
int RunInn(CliSession& session);
int RunConfigRead(CliSession& session);
int RunConfigWrite(CliSession& session);
int RunConfigDiff(CliSession& session);
int RunFormsRead(CliSession& session);
int RunFormWrite(CliSession& session);
int RunGoodsRead(CliSession& session);
int RunGoodsWrite(CliSession& session);
int RunGoodsWriteChanged(CliSession& session);
int RunGoodsClear(CliSession& session);
int RunImageRead(CliSession& session);
int RunImageWrite(CliSession& session);
int RunImageDiff(CliSession& session);
