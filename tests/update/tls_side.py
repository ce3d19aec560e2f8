"""The TLS side of the hostile test server: certificates made at start-up, and one port for each
way a TLS server can behave.

The certificates come from a private test CA made anew at each start; only the tests' Wine
prefix ever trusts it. Every certificate names "localhost" (Wine matches DNS names only), except
the one for the wrong host.
"""

import datetime
import os
import random
import socket
import socketserver
import ssl
import time

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.x509.oid import ExtendedKeyUsageOID, NameOID

HELLO = b"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello"


def _name(text):
    return x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, text)])


def _certificate(subject, key, issuer, issuer_key, not_before, not_after, ca, host=None):
    builder = (x509.CertificateBuilder()
               .subject_name(_name(subject))
               .issuer_name(_name(issuer))
               .public_key(key.public_key())
               .serial_number(x509.random_serial_number())
               .not_valid_before(not_before)
               .not_valid_after(not_after)
               .add_extension(x509.BasicConstraints(ca=ca, path_length=None), critical=True))
    if ca:
        builder = builder.add_extension(x509.KeyUsage(
            digital_signature=True, content_commitment=False, key_encipherment=False,
            data_encipherment=False, key_agreement=False, key_cert_sign=True, crl_sign=True,
            encipher_only=False, decipher_only=False), critical=True)
    else:
        builder = (builder
                   .add_extension(x509.SubjectAlternativeName([x509.DNSName(host)]),
                                  critical=False)
                   .add_extension(x509.ExtendedKeyUsage([ExtendedKeyUsageOID.SERVER_AUTH]),
                                  critical=False))
    return builder.sign(issuer_key, hashes.SHA256())


def _make_certificates(folder):
    """Writes the CA (DER, for the tests) and each server's certificate and key (PEM); returns
    the CA's path and, by server name, the (certificate, key) paths."""
    os.makedirs(folder, exist_ok=True)
    now = datetime.datetime.now(datetime.timezone.utc)
    day = datetime.timedelta(days=1)
    authorities = {}
    for name in ("Slotvane Test CA", "Slotvane Untrusted CA"):
        key = ec.generate_private_key(ec.SECP256R1())
        authorities[name] = (key, _certificate(name, key, name, key, now - day, now + 30 * day,
                                               True))
    # Each server's issuer, host name and validity, and whether it sends its issuer along.
    leaves = {
        "valid": ("Slotvane Test CA", "localhost", now - day, now + 30 * day, True),
        "untrusted": ("Slotvane Untrusted CA", "localhost", now - day, now + 30 * day, True),
        "partial-chain": ("Slotvane Untrusted CA", "localhost", now - day, now + 30 * day, False),
        "wrong-host": ("Slotvane Test CA", "wrong.example", now - day, now + 30 * day, True),
        "expired": ("Slotvane Test CA", "localhost", now - 60 * day, now - 30 * day, True),
    }
    paths = {}
    for server, (authority, host, not_before, not_after, with_issuer) in leaves.items():
        ca_key, ca_certificate = authorities[authority]
        key = ec.generate_private_key(ec.SECP256R1())
        certificate = _certificate(host, key, authority, ca_key, not_before, not_after, False,
                                   host)
        certificate_path = os.path.join(folder, server + ".pem")
        key_path = os.path.join(folder, server + ".key")
        with open(certificate_path, "wb") as f:
            f.write(certificate.public_bytes(serialization.Encoding.PEM))
            if with_issuer:
                f.write(ca_certificate.public_bytes(serialization.Encoding.PEM))
        with open(key_path, "wb") as f:
            f.write(key.private_bytes(serialization.Encoding.PEM,
                                      serialization.PrivateFormat.PKCS8,
                                      serialization.NoEncryption()))
        paths[server] = (certificate_path, key_path)
    ca_path = os.path.join(folder, "ca.der")
    with open(ca_path, "wb") as f:
        f.write(authorities["Slotvane Test CA"][1].public_bytes(serialization.Encoding.DER))
    return ca_path, paths


def _context(certificate_path, key_path, tls10_only=False):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(certificate_path, key_path)
    if tls10_only:
        # Only what a server from long ago offers; the security level lets OpenSSL speak it.
        context.set_ciphers("DEFAULT:@SECLEVEL=0")
        context.minimum_version = ssl.TLSVersion.TLSv1
        context.maximum_version = ssl.TLSVersion.TLSv1
    return context


def _tls_server(context, handler, server_class):
    """A server of the plain side's routes over TLS, ending each answer with close_notify."""

    class TlsHandler(handler):
        def handle(self):
            try:
                self.request.do_handshake()
            except (ssl.SSLError, OSError):
                return
            handler.handle(self)

        def end(self):
            try:
                self.request.unwrap()  # close_notify
            except (ssl.SSLError, OSError, ValueError):
                pass

    class TlsServer(server_class):
        def get_request(self):
            connection, address = self.socket.accept()
            return context.wrap_socket(connection, server_side=True,
                                       do_handshake_on_connect=False), address

    return TlsServer(("127.0.0.1", 0), TlsHandler)


def _raw_server(behave, server_class):
    """A server whose connections `behave(connection)` handles byte by byte."""

    class RawHandler(socketserver.BaseRequestHandler):
        def handle(self):
            self.request.settimeout(30)
            try:
                behave(self.request)
            except (OSError, ssl.SSLError):
                pass

    return server_class(("127.0.0.1", 0), RawHandler)


def _wait_for_close(connection):
    while connection.recv(4096):
        pass


def _plain_answer(connection):
    """Answers the client's hello with plain HTTP."""
    connection.recv(4096)
    connection.sendall(HELLO)


def _silent(connection):
    """Takes the client's hello and never answers: a handshake that never finishes."""
    _wait_for_close(connection)


def _random_handshake(connection):
    """Answers the hello with a handshake record of random bytes."""
    connection.recv(4096)
    body = random.Random(22).randbytes(64)
    connection.sendall(b"\x16\x03\x03\x00\x40" + body)
    _wait_for_close(connection)


def _mangled(context, mangle):
    """A real handshake, then an answer whose record `mangle` spoils on its way out."""

    def behave(connection):
        incoming, outgoing = ssl.MemoryBIO(), ssl.MemoryBIO()
        tls = context.wrap_bio(incoming, outgoing, server_side=True)

        def pull():
            data = connection.recv(65536)
            if not data:
                raise OSError("closed")
            incoming.write(data)

        while True:
            try:
                tls.do_handshake()
                break
            except ssl.SSLWantReadError:
                connection.sendall(outgoing.read())
                pull()
        connection.sendall(outgoing.read())
        request = b""
        while b"\r\n\r\n" not in request:
            try:
                request += tls.read(65536)
            except ssl.SSLWantReadError:
                pull()
        tls.write(HELLO)
        connection.sendall(mangle(outgoing.read()))
        time.sleep(0.2)
        connection.shutdown(socket.SHUT_WR)
        _wait_for_close(connection)

    return behave


def _cut(record):
    return record[:len(record) // 2]


def _flip_bit(record):
    return record[:-1] + bytes([record[-1] ^ 0x01])


def _longest_length(record):
    return record[:3] + b"\xff\xff" + record[5:]


def start(folder, handler, server_class):
    """Makes the certificates in `folder` and the TLS side's servers (not yet serving); returns
    the CA's path and the servers by name."""
    ca_path, paths = _make_certificates(folder)
    valid = paths["valid"]
    servers = {name: _tls_server(_context(*paths[name]), handler, server_class)
               for name in ("valid", "untrusted", "partial-chain", "wrong-host", "expired")}
    servers["tls10"] = _tls_server(_context(*valid, tls10_only=True), handler, server_class)
    behaviours = {
        "plain-answer": _plain_answer,
        "silent": _silent,
        "random-handshake": _random_handshake,
        "cut-record": _mangled(_context(*valid), _cut),
        "flipped-bit": _mangled(_context(*valid), _flip_bit),
        "longest-length": _mangled(_context(*valid), _longest_length),
    }
    for name, behave in behaviours.items():
        servers[name] = _raw_server(behave, server_class)
    return ca_path, servers
