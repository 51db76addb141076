create table PEOPLE (ID integer not null primary key, NAME varchar(40));
