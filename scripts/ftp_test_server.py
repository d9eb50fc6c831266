#!/usr/bin/python3
"""Private FTP server for the tests: one account, passive mode on loopback, serving one directory.

Writes the port it listens on to --port-file once it accepts connections, and appends the path of
every download it starts to --transfer-mark. --write-limit throttles
downloads (bytes per second) so a test can stop or kill the server in the middle of a transfer.
--refuse-size makes it answer SIZE with 502, as servers without that command do.
"""
import argparse
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--port", type=int, default=0, help="0 lets the system choose")
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--passive-ports", default="30000-30099", help="FIRST-LAST")
    parser.add_argument("--auth-failed-timeout", type=float, default=0.1)
    parser.add_argument("--transfer-mark", help="file touched whenever a download starts")
    parser.add_argument("--write-limit", type=int, default=0, help="download bytes per second, 0 = unlimited")
    parser.add_argument("--refuse-size", action="store_true", help="answer SIZE with 502 (not implemented)")
    return parser.parse_args()


def main():
    arguments = parse_arguments()
    authorizer = DummyAuthorizer()
    authorizer.add_user(arguments.user, arguments.password, os.path.abspath(arguments.root), perm="elr")

    class Handler(FTPHandler):
        def ftp_RETR(self, file):
            result = super().ftp_RETR(file)
            if arguments.transfer_mark:
                with open(arguments.transfer_mark, "a") as mark:
                    mark.write(file + "\n")
            return result

        def ftp_SIZE(self, path):
            if arguments.refuse_size:
                self.respond("502 Command not implemented.")
                return
            return super().ftp_SIZE(path)

    Handler.authorizer = authorizer
    first, last = (int(p) for p in arguments.passive_ports.split("-"))
    Handler.passive_ports = range(first, last + 1)
    Handler.auth_failed_timeout = arguments.auth_failed_timeout
    Handler.permit_foreign_addresses = False
    Handler.banner = "Telvix image store (test)"
    if arguments.write_limit > 0:
        class Throttled(ThrottledDTPHandler):
            pass

        Throttled.write_limit = arguments.write_limit
        Handler.dtp_handler = Throttled
    else:
        Handler.dtp_handler = DTPHandler

    server = FTPServer(("127.0.0.1", arguments.port), Handler)
    port = server.socket.getsockname()[1]
    temporary = arguments.port_file + ".tmp"
    with open(temporary, "w") as handle:
        handle.write(f"{port}\n")
    os.replace(temporary, arguments.port_file)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
