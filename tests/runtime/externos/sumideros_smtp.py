#!/usr/bin/python3
"""SMTP sinks on loopback for the mail tests.

sumideros_smtp.py <record file> <certificate> <key> [<other host's certificate> <its key>]

Starts the sinks and prints "plano=<port> tls=<port> starttls=<port> rechazo=<port> ajeno=<port>"
on one line (ajeno only when the other host's certificate is given):
  plano     plain text, no STARTTLS, AUTH allowed without TLS;
  tls       TLS from the first byte;
  starttls  plain text offering STARTTLS;
  rechazo   as starttls, refusing every AUTH;
  ajeno     plain text offering STARTTLS with the certificate of another host.
Each AUTH and each DATA is appended to the record file as one JSON line saying whether the
connection was encrypted at that moment; DATA also carries the envelope and the message.
Runs until its standard input closes.
"""
import asyncio
import base64
import email
import email.policy
import json
import logging
import ssl
import sys
import threading

from aiosmtpd.controller import UnthreadedController
from aiosmtpd.smtp import AuthResult

registro, certificado, clave = sys.argv[1:4]
ajena = sys.argv[4:6]
# The sinks' own log (a plain attempt's TLS bytes, deprecation notes) is noise in test output.
logging.getLogger("mail.log").setLevel(logging.CRITICAL)
logging.captureWarnings(True)
logging.getLogger("py.warnings").setLevel(logging.CRITICAL)
bloqueo = threading.Lock()


def anotar(evento):
    with bloqueo, open(registro, "a", encoding="utf-8") as f:
        f.write(json.dumps(evento) + "\n")


def cifrada(server, session):
    transporte = server.transport
    return session.ssl is not None or (transporte is not None and transporte.get_extra_info("sslcontext") is not None)


class Sumidero:
    def __init__(self, nombre, acepta=True):
        self.nombre = nombre
        self.acepta = acepta

    def autenticar(self, server, session, envelope, mecanismo, datos):
        anotar({"sumidero": self.nombre, "orden": "AUTH", "tls": cifrada(server, session), "mecanismo": mecanismo})
        return AuthResult(success=self.acepta, handled=False)

    async def handle_DATA(self, server, session, envelope):
        evento = {"sumidero": self.nombre, "orden": "DATA", "tls": cifrada(server, session),
                  "de": envelope.mail_from, "para": envelope.rcpt_tos}
        evento.update(leer_mensaje(envelope.original_content))
        anotar(evento)
        return "250 OK"


def direcciones(cabecera):
    return [a.addr_spec for a in cabecera.addresses] if cabecera is not None else []


def leer_mensaje(datos):
    """The message as a mail reader sees it, read by Python's own parser."""
    m = email.message_from_bytes(datos, policy=email.policy.default)
    remitente = m["From"].addresses[0]
    cuerpo = m.get_body(("plain",))
    fecha = m["Date"].datetime if m["Date"] is not None else None
    return {
        "fecha": fecha.isoformat() if fecha is not None else None,
        "remitente_nombre": remitente.display_name,
        "remitente_direccion": remitente.addr_spec,
        "cabecera_to": direcciones(m["To"]),
        "cabecera_cc": direcciones(m["Cc"]),
        "asunto": str(m["Subject"]),
        "texto": cuerpo.get_content() if cuerpo is not None else None,
        "adjuntos": [{"nombre": p.get_filename(),
                      "datos": base64.b64encode(p.get_payload(decode=True)).decode()}
                     for p in m.iter_attachments()],
        "lineas_cabecera_sueltas": [l.decode("latin-1") for l in datos.split(b"\r\n\r\n", 1)[0].split(b"\r\n")
                                    if l and not l[:1].isspace() and b":" not in l],
    }


def contexto_servidor(cert=certificado, key=clave):
    c = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    c.load_cert_chain(cert, key)
    return c


bucle = asyncio.new_event_loop()
asyncio.set_event_loop(bucle)
controladores = {}
sumideros = [
    ("plano", {"auth_require_tls": False}),
    ("tls", {"ssl_context": contexto_servidor(), "auth_require_tls": False}),
    ("starttls", {"tls_context": contexto_servidor(), "auth_require_tls": True}),
    ("rechazo", {"tls_context": contexto_servidor(), "auth_require_tls": True}),
]
if ajena:
    sumideros.append(("ajeno", {"tls_context": contexto_servidor(*ajena), "auth_require_tls": True}))
for nombre, argumentos in sumideros:
    sumidero = Sumidero(nombre, acepta=nombre != "rechazo")
    c = UnthreadedController(sumidero, loop=bucle, hostname="127.0.0.1", port=0,
                             authenticator=sumidero.autenticar, **argumentos)
    c.begin()
    controladores[nombre] = c.server.sockets[0].getsockname()[1]

print(" ".join(f"{n}={p}" for n, p in controladores.items()), flush=True)


def esperar_cierre():
    sys.stdin.read()
    bucle.call_soon_threadsafe(bucle.stop)


threading.Thread(target=esperar_cierre, daemon=True).start()
bucle.run_forever()
