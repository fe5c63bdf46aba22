'''ModemManager with one modem that sends text messages, for the SMS tests.

Run as "python3 -m dbusmock --template modemmanager_sms.py". The message
text decides how sending goes:
  "refuse"  Create fails: the modem does not take the message
  "fail"    Send fails once the message is "sending"
  "stall"   the message stays "sending"
  "cancel"  the message is deleted while "sending"
  "direct"  the message turns "sent" with no "sending" step
  any other text: "sending", then "sent"
'''

import dbus
from dbusmock import mockobject

BUS_NAME = 'org.freedesktop.ModemManager1'
MAIN_OBJ = '/org/freedesktop/ModemManager1'
MAIN_IFACE = 'org.freedesktop.ModemManager1'
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

MODEM_PATH = MAIN_OBJ + '/Modem/0'
MODEM_IFACE = MAIN_IFACE + '.Modem'
MESSAGING_IFACE = MODEM_IFACE + '.Messaging'
SMS_IFACE = MAIN_IFACE + '.Sms'
ERROR = MAIN_IFACE + '.Error'

# MMSmsState
UNKNOWN, SENDING, SENT = 0, 4, 5


def load(mock, parameters):
    mock.AddObject(MODEM_PATH, MODEM_IFACE, {'EquipmentIdentifier': '000000000000001'}, [])
    modem = mockobject.objects[MODEM_PATH]
    modem.AddProperties(MESSAGING_IFACE, {'Messages': dbus.Array([], signature='o')})
    modem.AddMethod(MESSAGING_IFACE, 'Create', 'a{sv}', 'o', create)
    modem.created = 0


def create(modem, properties):
    text = str(properties.get('text', ''))
    if text == 'refuse':
        raise dbus.exceptions.DBusException('message not accepted', name=ERROR + '.Core.InvalidArgs')
    modem.created += 1
    path = f'{MAIN_OBJ}/SMS/{modem.created}'
    modem.AddObject(path, SMS_IFACE, {
        'State': dbus.UInt32(UNKNOWN),
        'Number': dbus.String(properties.get('number', '')),
        'Text': dbus.String(text),
    }, [])
    mockobject.objects[path].AddMethod(SMS_IFACE, 'Send', '', '', send)
    return dbus.ObjectPath(path)


def send(sms):
    fate = str(sms.props[SMS_IFACE]['Text'])
    if fate != 'direct':
        sms.UpdateProperties(SMS_IFACE, {'State': dbus.UInt32(SENDING)})
    if fate == 'fail':
        raise dbus.exceptions.DBusException('cannot send in this mode',
                                            name=ERROR + '.Core.Unsupported')
    if fate == 'cancel':
        mockobject.objects[MODEM_PATH].EmitSignal(MESSAGING_IFACE, 'Deleted', 'o',
                                                  [dbus.ObjectPath(sms.path)])
    if fate not in ('stall', 'cancel'):
        sms.UpdateProperties(SMS_IFACE, {'State': dbus.UInt32(SENT)})
