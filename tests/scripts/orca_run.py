"""Starts the installed Orca (/usr/bin/orca) for a test, in this process.

orca_run.py LOG [ORCA ARGUMENTS...]   runs Orca with --debug-file=LOG

Two things differ from a plain `orca --debug-file=LOG`:
- the log is written line by line, so a test that reads it sees each utterance as it is spoken
  (Orca opens it with the default block buffering);
- Orca does not refuse to start because an Orca of the same user runs elsewhere (another
  desktop's, or another test's): this one speaks for the private session bus it is started in.
Everything else, the screen reader itself, is Orca's own code.
"""
import builtins
import sys

ORCA = "/usr/bin/orca"


def main():
    log = sys.argv[1]
    real_open = builtins.open

    def open_line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
        if file == log and "w" in mode and "b" not in mode:
            buffering = 1
        return real_open(file, mode, buffering, *args, **kwargs)

    builtins.open = open_line_buffered
    sys.argv = [ORCA, "--debug-file=" + log] + sys.argv[2:]
    with real_open(ORCA, encoding="utf-8") as f:
        code = compile(f.read(), ORCA, "exec")
    script = {"__name__": "orca_script", "__file__": ORCA}
    exec(code, script)
    script["otherOrcas"] = lambda: []
    return script["main"]()


if __name__ == "__main__":
    sys.exit(main())
