#!/usr/bin/env python3
"""Serves zelvo-sim to the Windows test programs running under Wine.

Wine starts Linux programs but does not connect their standard input and
output to the Windows program's pipes, so a Windows test cannot run the
simulator itself. It asks this broker through files in a shared folder:

  ID.args      the simulator's arguments, one a line (written last, by rename)
  ID.cmd.K     control line K for the simulator's standard input (by rename)
  ID.stop      end the simulator
The broker answers with:
  ID.com       the COM port ("COM17") the simulator's terminal is linked as
  ID.out       what the simulator prints (its PTY line, replies, frame log)
  ID.err       its standard error
  ID.exited    its exit code, once it has ended
  ID.gone      written after a stop, once the process and the link are gone

Usage: sim-broker.py FOLDER SIM DOSDEVICES [FIRST_COM LAST_COM]
It runs until FOLDER/quit appears, or it is killed; every simulator it
started is ended then.
"""
import os
import subprocess
import sys
import time

folder, sim, dosdevices = sys.argv[1:4]
first, last = (int(sys.argv[4]), int(sys.argv[5])) if len(sys.argv) > 5 else (10, 99)
free = list(range(first, last + 1))
running = {}  # id -> dict(proc, com, next_cmd)


def write_file(name, text):
    tmp = os.path.join(folder, name + ".tmp")
    with open(tmp, "w") as f:
        f.write(text)
    os.rename(tmp, os.path.join(folder, name))


def link_path(com):
    return os.path.join(dosdevices, "com%d" % com)


def start(ident):
    with open(os.path.join(folder, ident + ".args")) as f:
        args = [line.rstrip("\n") for line in f if line.rstrip("\n") != ""]
    com = free.pop(0)
    try:
        os.unlink(link_path(com))
    except FileNotFoundError:
        pass
    write_file(ident + ".com", "COM%d\n" % com)
    out = open(os.path.join(folder, ident + ".out"), "wb", buffering=0)
    err = open(os.path.join(folder, ident + ".err"), "wb", buffering=0)
    proc = subprocess.Popen([sim] + args + ["--link", link_path(com)],
                            stdin=subprocess.PIPE, stdout=out, stderr=err)
    running[ident] = {"proc": proc, "com": com, "next": 0, "exited": False}


def finish(ident, entry):
    proc = entry["proc"]
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(3)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    try:
        os.unlink(link_path(entry["com"]))
    except FileNotFoundError:
        pass
    free.append(entry["com"])


def step():
    busy = False
    for name in sorted(os.listdir(folder)):
        if name.endswith(".args"):
            ident = name[:-5]
            if ident not in running and not os.path.exists(os.path.join(folder, ident + ".com")):
                start(ident)
                busy = True
    for ident, entry in list(running.items()):
        proc = entry["proc"]
        while True:
            cmd = os.path.join(folder, "%s.cmd.%d" % (ident, entry["next"]))
            if not os.path.exists(cmd):
                break
            with open(cmd, "rb") as f:
                line = f.read()
            os.unlink(cmd)
            entry["next"] += 1
            busy = True
            if proc.poll() is None:
                try:
                    proc.stdin.write(line)
                    proc.stdin.flush()
                except BrokenPipeError:
                    pass
        if not entry["exited"] and proc.poll() is not None:
            entry["exited"] = True
            write_file(ident + ".exited", "%d\n" % proc.returncode)
        if os.path.exists(os.path.join(folder, ident + ".stop")):
            finish(ident, entry)
            del running[ident]
            write_file(ident + ".gone", "")
            busy = True
    return busy


try:
    while not os.path.exists(os.path.join(folder, "quit")):
        if not step():
            time.sleep(0.002)
finally:
    for ident, entry in list(running.items()):
        finish(ident, entry)
