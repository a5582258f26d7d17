#include "cli/CliCommands.h"
#include "cli/CommandDefinition.h"

const QStringList& ConnectionOptionNames() {
    static const QStringList names = {
        QStringLiteral("port"),         QStringLiteral("speed"),         QStringLiteral("number"),
        QStringLiteral("byte-timeout"), QStringLiteral("total-timeout"), QStringLiteral("log"),
        QStringLiteral("devices")};
    return names;
}

const QList<CommandDefinition>& CommandDefinitions() {
    static const QList<CommandDefinition> definitions = [] {
        const QStringList device = ConnectionOptionNames();
        const QStringList transfer = device + QStringList{QStringLiteral("keep-going")};
        // The reads that save a file: with --devices, one a device in --out.
        const QStringList reading = transfer + QStringList{QStringLiteral("out")};
        const QString keepGoing = QStringLiteral(
            "\nБез --keep-going команда останавливается на первой ошибке; с ним продолжает и "
            "в конце перечисляет все невыполненные элементы.");
        return QList<CommandDefinition>{
            {QStringLiteral("ports"),
             {},
             QStringLiteral("порты системы с их описаниями"),
             QStringLiteral("Перечисляет последовательные порты системы с описаниями, которые "
                            "даёт система,\nи эмулятор АС (--port emulator)."),
             {},
             RunPorts},
            {QStringLiteral("find"),
             {},
             QStringLiteral("поиск АС на портах системы"),
             QStringLiteral("Опрашивает запросом состояния порты системы на каждой скорости "
                            "(сначала --speed, затем от 115200 вниз) и сообщает порт, скорость и "
                            "верен ли заводской номер --number. На стандартный вывод — порт и "
                            "скорость найденного АС. С --port (можно несколько раз) опрашиваются "
                            "только эти порты."),
             {QStringLiteral("port"), QStringLiteral("number"), QStringLiteral("speed")},
             RunFind},
            {QStringLiteral("state"),
             {},
             QStringLiteral("запрос состояния АС"),
             QStringLiteral("Запрос состояния: все поля страницы «Запрос состояния»."),
             device,
             RunState},
            {QStringLiteral("config read"),
             {QStringLiteral("FILE.cfg")},
             QStringLiteral("вся конфигурация из АС в файл"),
             QStringLiteral("Читает из АС операторов, ДСО, услуги, дополнительные реквизиты и "
                            "клише и сохраняет их в файл конфигурации.\nФайл записывается, "
                            "только когда чтение дошло до конца; прежний файл иначе остаётся "
                            "как был.") +
                 keepGoing,
             reading,
             RunConfigRead},
            {QStringLiteral("config write"),
             {QStringLiteral("FILE.cfg")},
             QStringLiteral("вся конфигурация из файла в АС"),
             QStringLiteral("Записывает в АС операторов, ДСО, услуги, дополнительные реквизиты "
                            "и клише из файла конфигурации.\nС --changed сначала читает "
                            "конфигурацию АС и записывает только то, что в файле иначе, "
                            "формы БСО тоже.") +
                 keepGoing,
             transfer + QStringList{QStringLiteral("changed")},
             RunConfigWrite},
            {QStringLiteral("config diff"),
             {QStringLiteral("FILE.cfg")},
             QStringLiteral("отличия конфигурации АС от файла"),
             QStringLiteral("Читает конфигурацию АС с формами БСО и выводит то, что в файле "
                            "иначе: по строке на элемент — элемент, значение в АС и значение в "
                            "файле через табуляцию. Пароли показываются как **.\nВ АС ничего "
                            "не записывается.") +
                 keepGoing,
             transfer,
             RunConfigDiff},
            {QStringLiteral("forms read"),
             {},
             QStringLiteral("таблица форм БСО из АС"),
             QStringLiteral("Запрашивает текущую группу и читает восемь форм БСО."),
             transfer,
             RunFormsRead},
            {QStringLiteral("form write"),
             {QStringLiteral("N"), QStringLiteral("VARIANT"), QStringLiteral("REQUISITE"),
              QStringLiteral("KIND")},
             QStringLiteral("программирование одной формы БСО"),
             QStringLiteral("Программирует форму N (1..8): вариант VARIANT (1..6), "
                            "дополнительный реквизит\nREQUISITE (0 — нет, 1..8) и вид KIND "
                            "(0 — нет, 1 или С, 2 или Н, 3 или К),\nкак их предлагает "
                            "конструктор форм для этого варианта."),
             device,
             RunFormWrite},
            {QStringLiteral("goods read"),
             {QStringLiteral("FILE")},
             QStringLiteral("база товаров из АС в файл (*.base или *.csv)"),
             QStringLiteral("Читает все 1001 записи базы товаров и сохраняет их в FILE; формат "
                            "по расширению: .base или .csv.\nФайл записывается, только когда "
                            "чтение дошло до конца; прежний файл иначе остаётся как был.") +
                 keepGoing,
             reading,
             RunGoodsRead},
            {QStringLiteral("goods write"),
             {QStringLiteral("FILE")},
             QStringLiteral("вся база товаров в АС: записи FILE (*.base или *.csv), "
                            "остальные стираются"),
             QStringLiteral("Записывает в АС все 1001 записи базы товаров: записи FILE (.base "
                            "или .csv) с их товарами, все остальные — пустыми, то есть "
                            "товары АС, которых нет в FILE, стираются. Только изменённые "
                            "записи записывает goods write-changed.\nВ конце сообщает, "
                            "сколько записей записано с товарами и сколько очищено. "
                            "Некорректный файл не отправляется вовсе.") +
                 keepGoing,
             transfer,
             RunGoodsWrite},
            {QStringLiteral("goods write-changed"),
             {QStringLiteral("FILE")},
             QStringLiteral("только изменённые записи из файла в АС"),
             QStringLiteral("Записывает в АС только записи FILE, которые могут отличаться от "
                            "записей АС. С --since OLD (файл, прочитанный из АС или последним "
                            "записанный в неё) это записи, которые отличаются от OLD; без него — "
                            "все непустые записи FILE. Файл CSV задаёт только записи своих "
                            "кодов.") +
                 keepGoing,
             transfer + QStringList{QStringLiteral("since")},
             RunGoodsWriteChanged},
            {QStringLiteral("goods clear"),
             {},
             QStringLiteral("очистка базы товаров в АС (с --yes)"),
             QStringLiteral("Стирает все 1001 записи базы товаров в АС. Выполняется только с "
                            "--yes.") +
                 keepGoing,
             transfer + QStringList{QStringLiteral("yes")},
             RunGoodsClear},
            {QStringLiteral("image read"),
             {QStringLiteral("FILE.zimg")},
             QStringLiteral("образ АС: всё, что читается из АС, в один файл"),
             QStringLiteral("Читает из АС состояние, конфигурацию, восемь форм БСО и все 1001 "
                            "записи базы товаров и сохраняет их в образ.\nОбраз сохраняется, "
                            "только когда прочитано всё; прежний файл иначе остаётся как был.") +
                 keepGoing,
             reading,
             RunImageRead},
            {QStringLiteral("image write"),
             {QStringLiteral("FILE.zimg")},
             QStringLiteral("образ в АС: только отличия (или всё с --all)"),
             QStringLiteral("Читает АС, сравнивает с образом и записывает только то, что "
                            "отличается: элементы конфигурации, формы БСО и записи базы "
                            "товаров. С --all записывает весь образ, не сравнивая.\nИНН не "
                            "программируется никогда; если ИНН образа другой, об этом "
                            "говорится.") +
                 keepGoing,
             transfer + QStringList{QStringLiteral("all")},
             RunImageWrite},
            {QStringLiteral("image diff"),
             {QStringLiteral("FILE.zimg")},
             QStringLiteral("отличия АС от образа, по частям"),
             QStringLiteral("Читает АС и выводит то, что в образе иначе: по строке на элемент — "
                            "часть, элемент, значение в АС и значение в образе через табуляцию. "
                            "Пароли показываются как **.\nВ АС ничего не записывается.") +
                 keepGoing,
             transfer,
             RunImageDiff},
            {QStringLiteral("inn"),
             {},
             QStringLiteral("программирование ИНН (необратимо, с --yes)"),
             QStringLiteral("Программирует ИНН. Ранее запрограммированные формы будут стерты; "
                            "ИНН программируется\nодин раз, поэтому команда выполняется только "
                            "с --yes.\nНужны --inn, --date и --group. Пароль: из "
                            "--password-file, с терминала или строкой со стандартного ввода."),
             device + QStringList{QStringLiteral("inn"), QStringLiteral("password"),
                                  QStringLiteral("password-file"), QStringLiteral("date"),
                                  QStringLiteral("group"), QStringLiteral("yes")},
             RunInn},
        };
    }();
    return definitions;
}
