"""The update tests' FTP server: pyftpdlib on 127.0.0.1 and a free port, one
account that may read everything and write only in the update folder's log/.

A file NAME beside which a file NAME.cut holds a number N is served cut short
after N bytes, while SIZE still gives its whole size; a file NAME beside which
a file NAME.twice exists is listed twice. The .cut and .twice files are not
listed. --no-mlsd makes the server refuse MLSD, as servers that only know
LIST do. The port is printed on the first line of standard output.
"""

import argparse
import io
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

CUT = ".cut"
TWICE = ".twice"


class CuttingFS(AbstractedFS):
    def open(self, filename, mode):
        if "r" in mode and os.path.exists(filename + CUT):
            with open(filename + CUT) as cut, open(filename, "rb") as whole:
                data = whole.read(int(cut.read()))
            piece = io.BytesIO(data)
            piece.name = filename
            return piece
        return super().open(filename, mode)

    def listdir(self, path):
        listed = []
        for name in super().listdir(path):
            if not name.endswith((CUT, TWICE)):
                twice = os.path.exists(os.path.join(path, name + TWICE))
                listed += [name] * (2 if twice else 1)
        return listed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--log-folder", required=True, help="relative to the root")
    parser.add_argument("--no-mlsd", action="store_true")
    options = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(options.user, options.password, options.root, perm="elr")
    authorizer.override_perm(options.user, os.path.join(options.root, options.log_folder),
                             perm="elw", recursive=True)

    class Handler(FTPHandler):
        pass

    Handler.authorizer = authorizer
    Handler.abstracted_fs = CuttingFS
    Handler.use_sendfile = False
    if options.no_mlsd:
        Handler.proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items() if k != "MLSD"}

    server = FTPServer(("127.0.0.1", 0), Handler)
    print(server.address[1], flush=True)
    sys.stdout.close()
    server.serve_forever()


if __name__ == "__main__":
    main()
