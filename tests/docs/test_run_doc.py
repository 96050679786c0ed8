#!/usr/bin/env python3
"""The document runner on small documents: what carries over between blocks, what it reports."""
import os
import subprocess
import sys
import tempfile
import textwrap
import unittest

RUNNER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "run_doc.py")
FENCE = "`" * 3


class RunDocTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.build = os.path.join(self.dir.name, "build")
        os.makedirs(os.path.join(self.build, "bin"))
        with open(os.path.join(self.build, "bin", "qnl-hello"), "w") as f:
            f.write("#!/bin/sh\necho hello from bin\n")
        os.chmod(os.path.join(self.build, "bin", "qnl-hello"), 0o755)

    def tearDown(self):
        self.dir.cleanup()

    def run_doc(self, text, *options):
        doc = os.path.join(self.dir.name, "doc.md")
        with open(doc, "w") as f:
            f.write(textwrap.dedent(text).replace("```", FENCE))
        run = subprocess.run([sys.executable, RUNNER, doc, "--source", self.dir.name, "--build", self.build, *options],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        return run.returncode, run.stdout, run.stderr.replace(doc, "doc.md")

    def test_blocks_share_one_shell_in_a_fresh_home(self):
        status, out, err = self.run_doc("""\
            # Title
            ```sh
            mkdir project && cd project
            greeting=hi
            ```
            Prose between, and a block that is only shown:
            ```ini
            [Section]
            ```
            ```sh interactive
            echo "$greeting from $PWD, unattended=$QUENLOFT_UNATTENDED"
            read nothing || echo "stdin is empty"
            qnl-hello; ls ~/quenloft/build/bin
            ```
            ```output
            hi from /home/me/project, unattended=1
            ...
            hello from bin
            ```
            ```sh
            echo "unattended=${QUENLOFT_UNATTENDED-unset} wineprefix=$WINEPREFIX"
            ```
            ```output
            unattended=unset wineprefix=/home/me/.wine
            ```
            """)
        self.assertEqual((status, err), (0, ""), out)
        self.assertIn("stdin is empty", out)

    def test_a_failing_command_names_its_line_and_stops_the_run(self):
        status, out, err = self.run_doc("""\
            ```sh
            true
            ```
            ```sh
            echo one
            ( cd / && false )
            echo never
            ```
            ```sh
            echo nor this
            ```
            """)
        self.assertEqual(status, 1)
        self.assertIn("doc.md:6: the command failed with status 1 (the block starting at line 5)", err)
        self.assertNotIn("never", out)
        self.assertNotIn("nor this", out)

    def test_output_lines_are_compared_loosely_but_every_one_must_appear(self):
        status, out, err = self.run_doc("""\
            ```sh
            echo "2026-12-10T09:01:02.345+01:00 start   $(mktemp -d)"
            printf 'SIZE  NAME\\n12    .\\\\readme.txt   C:\\\\Program Files\\\\x\\n'
            ```
            ```output
            2025-01-01T00:00:00.000+00:00 start /tmp/tmp.AbCdEfGh12
            12 .\\readme.txt …\\x
            a line that was never printed
            ```
            """)
        self.assertEqual(status, 1, out)
        self.assertEqual(err.strip(), "doc.md:8: not in the output: a line that was never printed")

    def test_a_command_that_does_not_end_is_stopped_with_its_block(self):
        status, _, err = self.run_doc("```sh\necho started\n```\n```sh\nsleep 60 &\nwait\n```\n", "--timeout", "2")
        self.assertEqual(status, 1)
        self.assertIn("doc.md:5: the shell did not end in time in the block starting here", err)

    def test_an_unclosed_block_is_refused(self):
        status, _, err = self.run_doc("```sh\necho\n")
        self.assertNotEqual(status, 0)
        self.assertIn("doc.md:1: a code block is not closed", err)


if __name__ == "__main__":
    unittest.main()
